#include "core/TestPlatform.h"

namespace qm::test {

void DeleteKeyTree(IRegistry& registry, RegistryRoot root, const std::string& path) {
    std::string child;
    while (registry.EnumSubkey(root, path, 0, child)) {
        std::size_t before = child.size();
        DeleteKeyTree(registry, root, path + "\\" + child);
        if (registry.EnumSubkey(root, path, 0, child) && child.size() == before &&
            registry.KeyExists(root, path + "\\" + child))
            break;  // could not delete; avoid looping forever
    }
    registry.DeleteKey(root, path);
}

}  // namespace qm::test
