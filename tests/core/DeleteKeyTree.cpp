#include <vector>

#include "core/TestPlatform.h"

namespace qm::test {

void DeleteKeyTree(IRegistry& registry, RegistryRoot root, const std::string& path) {
    // Names first: deleting while enumerating would shift the indexes.
    std::vector<std::string> children;
    std::string child;
    for (unsigned i = 0; registry.EnumSubkey(root, path, i, child); ++i) children.push_back(child);
    for (const auto& name : children) DeleteKeyTree(registry, root, path + "\\" + name);
    registry.DeleteKey(root, path);
}

}  // namespace qm::test
