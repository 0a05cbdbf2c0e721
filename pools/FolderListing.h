#pragma once
// One load's view of the folders its records name. Each folder is read the first time a
// record asks about it, with one wildcard search, and the answers are the ones a search for
// the folder plus the name would give (FindFileInFolder, FileSizeOf): a file or folder whose
// own long name equals the name ignoring case; a folder that cannot be listed holds nothing.
//
// A directory search per record costs a network round trip on a share and, under Wine, a
// read of the whole folder; a listing per folder does not. Where the listing alone cannot
// tell what that search would yield (names with wildcard or separator characters, a folder
// without its final backslash, a path too long for the platform, several names that differ
// only in letter case, an accented name spelled differently on disk), the question goes to
// the search itself, so no answer ever differs from it.
//
// The listings live as long as the object (one load, one start-up recognition) and take
// bounded memory: only the folders asked about are read, and when they grow past a limit
// the older ones are dropped (and read again if asked about again).
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"

namespace qm {

class CFolderListing {
public:
    // Roughly the bytes of names kept at most; a single folder larger than this is never
    // kept, its questions go to the search one by one.
    static constexpr std::size_t kMaxKeptBytes = 16 * 1024 * 1024;

    explicit CFolderListing(IFileSystem& files, std::size_t maxKeptBytes = kMaxKeptBytes);

    // The answer of FindFileInFolder(files, folder, name).
    bool Contains(const std::string& folder, const std::string& name);
    // The answer of FileSizeOf(files, path).
    std::uint32_t SizeOf(const std::string& path);

    // How many wildcard searches have been made (each folder once while it is kept).
    int FoldersRead() const { return m_foldersRead; }
    // Roughly the bytes the kept listings take.
    std::size_t KeptBytes() const { return m_keptBytes; }

private:
    // Names hashed and compared with their ASCII letters folded, so a lookup copies nothing;
    // ASCII alone, since only a plain ASCII name is answered in another letter case.
    struct FoldedHash {
        std::size_t operator()(const std::string& name) const;
    };
    struct FoldedEqual {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    struct Listing {
        bool tooLarge = false;  // not kept: ask the search for each name
        std::unordered_multimap<std::string, std::uint32_t, FoldedHash, FoldedEqual> byFoldedName;  // name -> size
    };
    struct Answer {
        bool known;  // false: only the search itself can tell
        bool found;
        std::uint32_t size;
    };

    Answer Lookup(const std::string& folder, const std::string& name);
    const Listing& ListingOf(const std::string& folder);

    IFileSystem& m_files;
    std::size_t m_maxKeptBytes;
    // The folder asked about last and its listing (null when it is not a plain folder):
    // records of one folder mostly come one after another.
    std::string m_lastFolder;
    const Listing* m_lastListing = nullptr;
    bool m_haveLast = false;
    std::size_t m_keptBytes = 0;
    int m_foldersRead = 0;
    std::unordered_map<std::string, Listing> m_listings;
};

}  // namespace qm
