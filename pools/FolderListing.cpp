#include "pools/FolderListing.h"

#include <cstring>

#include "platform/LetterCase.h"
#include "platform/PathParts.h"
#include "pools/FileSearch.h"

namespace qm {

namespace {

bool IsAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// A name that a search takes literally: no wildcard, separator or device character, no
// control character, and no final dot or space (which the platform drops from a path).
bool IsPlainName(const std::string& name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c)) return false;
    return true;
}

// A folder whose listing and whose searches for a name look in the same place.
bool IsPlainFolder(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' && folder.find_first_of("*?\"<>|") == std::string::npos;
}

}  // namespace

std::size_t CFolderListing::FoldedHash::operator()(const std::string& name) const {
    std::size_t hash = 14695981039346656037ull;  // FNV-1a
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(UpperAscii(c))) * 1099511628211ull;
    return hash;
}

bool CFolderListing::FoldedEqual::operator()(const std::string& a, const std::string& b) const {
    return EqualIgnoringAsciiCase(a, b);
}

CFolderListing::CFolderListing(IFileSystem& files, std::size_t maxKeptBytes)
    : m_files(files), m_maxKeptBytes(maxKeptBytes) {}

bool CFolderListing::Contains(const std::string& folder, const std::string& name) {
    const Answer answer = Lookup(folder, name);
    return answer.known ? answer.found : FindFileInFolder(m_files, folder, name);
}

std::uint32_t CFolderListing::SizeOf(const std::string& path) {
    const PathParts parts = SplitPath(path);
    const Answer answer = Lookup(parts.folder, parts.name);
    if (!answer.known) return FileSizeOf(m_files, path);
    return answer.found ? answer.size : 0;
}

CFolderListing::Answer CFolderListing::Lookup(const std::string& folder, const std::string& name) {
    const Answer unknown{false, false, 0};
    if (!m_haveLast || folder != m_lastFolder) {
        m_lastFolder = folder;
        m_lastListing = IsPlainFolder(folder) ? &ListingOf(folder) : nullptr;
        m_haveLast = true;
    }
    if (!m_lastListing || !IsPlainName(name) || folder.size() + name.size() > kLongestPath) return unknown;
    const Listing& listing = *m_lastListing;
    if (listing.tooLarge) return unknown;
    auto [first, last] = listing.byFoldedName.equal_range(name);
    // The search finds a name spelled exactly so.
    for (auto it = first; it != last; ++it)
        if (it->first == name) return Answer{true, true, it->second};
    // Otherwise an ASCII name can only be found in another letter case of its ASCII
    // letters; with one such entry that is the one the search yields.
    if (!IsAscii(name)) return unknown;
    if (first == last) return Answer{true, false, 0};
    if (std::next(first) != last) return unknown;
    return Answer{true, m_files.SameName(first->first, name), first->second};
}

const CFolderListing::Listing& CFolderListing::ListingOf(const std::string& folder) {
    auto kept = m_listings.find(folder);
    if (kept != m_listings.end()) return kept->second;

    Listing listing;
    std::size_t bytes = folder.size() + sizeof(Listing);
    ++m_foldersRead;
    m_files.Search(folder + "*", [&](const FoundEntry& found) {
        bytes += found.name.size() + 64;  // the name and its node
        if (bytes > m_maxKeptBytes) {
            listing.tooLarge = true;
            listing.byFoldedName.clear();
            return false;
        }
        listing.byFoldedName.emplace(found.name, static_cast<std::uint32_t>(found.size));
        return true;
    });
    if (listing.tooLarge) bytes = folder.size() + sizeof(Listing);
    if (m_keptBytes + bytes > m_maxKeptBytes) {
        m_listings.clear();
        m_keptBytes = 0;
        m_haveLast = false;  // its listing may be gone
    }
    m_keptBytes += bytes;
    return m_listings.emplace(folder, std::move(listing)).first->second;
}

}  // namespace qm
