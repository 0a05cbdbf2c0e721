#pragma once
// The "Event Sounds" group of the main window without its window: the schemes of the
// chooser, the selected scheme's event rows with their marks, and the sound randomizer
// that gives every marked event of a scheme a wave file drawn from the sound pool. The
// window shows what this holds through IEventSoundsView and hands its clicks back here.
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "pools/Pools.h"
#include "randomize/Random.h"
#include "randomize/SoundSchemes.h"

namespace qm {

extern const char kNoWaveFilesMessage[];

class IEventSoundsView {
public:
    virtual ~IEventSoundsView() = default;
    // Scheme `index` is now selected and its rows listed: show them all. The view may put
    // the rows into its own order with SetRowOrder before it returns.
    virtual void ShowScheme(int index) = 0;
    // Row `row` has a new mark or current file.
    virtual void ShowRow(int row) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
};

class CEventSounds {
public:
    CEventSounds(IRegistry& registry, IEventSoundsView& view) : m_registry(registry), m_view(view) {}

    // Lists the schemes from the registry; none is selected and there are no rows.
    void FillSchemeList();
    // The schemes in the order the view lists them (its sorting may differ from ours).
    void SetSchemeOrder(const std::vector<std::string>& schemes) { m_schemes = schemes; }
    const std::vector<std::string>& Schemes() const { return m_schemes; }
    // The selected scheme's index, or -1 while none is.
    int Selected() const { return m_selected; }
    std::string SelectedScheme() const { return m_selected < 0 ? std::string() : m_schemes[m_selected]; }
    const std::vector<EventRow>& Rows() const { return m_rows; }

    // Selects scheme `index`, lists its events, reads every row's mark and current file
    // from the registry and has the view show them. An index out of range does nothing.
    void SelectScheme(int index);
    // Puts the rows in the view's order: position p holds the row that was at order[p].
    // An order that is not a permutation of the rows is ignored.
    void SetRowOrder(const std::vector<int>& order);

    // The view's check boxes, one per row in row order: every row takes its box's state
    // and has "Yes" or "No" written to its marker key. A list of another length is ignored.
    void SetMarks(const std::vector<bool>& marks);
    // Marks (or unmarks) every row and writes every marker key.
    void MarkAll(bool marked);

    // Every scheme in turn is selected and randomized; then the scheme selected before is
    // selected again (the first one that begins with its name), or, when none was, the last
    // stays selected. An empty sound pool changes nothing and, unless `unattended`, the
    // view tells the user.
    void RandomizeAllSchemes(const CPools& pools, CRandom& random, bool unattended);
    // Every marked row of the selected scheme gets a sound drawn for the scheme, in row
    // order. The marks are the rows' as shown, not re-read from the registry.
    void RandomizeScheme(const CPools& pools, CRandom& random, bool unattended);
    // Draws a sound listed for the selected scheme and writes it as the row's ".current".
    // No candidate: nothing is drawn, written or said. The row shows the new file only once
    // it is written. False when nothing changed.
    bool RandomizeEvent(int row, const CPools& pools, CRandom& random);

private:
    // What selecting a scheme reads of each row: everything, or, when every marked row is
    // about to get a new sound anyway, the current files of the unmarked rows only.
    enum class RowReading { everything, skipCurrentOfMarked };
    void LoadScheme(int index, RowReading reading);
    // Randomizes the marked rows; true for each row that got a new sound.
    std::vector<bool> RandomizeMarkedRows(const CPools& pools, CRandom& random);
    bool SoundPoolEmpty(const CPools& pools, bool unattended);

    IRegistry& m_registry;
    IEventSoundsView& m_view;
    std::vector<std::string> m_schemes;
    int m_selected = -1;
    std::vector<EventRow> m_rows;
};

}  // namespace qm
