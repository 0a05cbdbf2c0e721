#include "pools/PoolStore.h"

#include "platform/PathParts.h"

namespace qm {

StorageChoice CPoolStore::ChoosePlaces(const std::string& windowsDir) {
    const bool windowsNT = m_system.IsWindowsNT();
    StorageChoice choice;
    const std::string systemDir = SystemFolderOf(windowsDir, windowsNT);
    choice.places = StoragePlaces::MachineWide(windowsDir, systemDir);
    if (!windowsDir.empty()) {
        std::string userFolder;
        if (windowsNT && m_system.ShellFolderPath(ISystem::ShellFolder::LocalAppData, userFolder))
            userFolder = WithFinalBackslash(userFolder) + "Quill Mere\\";
        choice = ChooseStoragePlaces(m_settings, m_files, windowsDir, systemDir, userFolder);
    }
    m_places = choice.places;
    m_settings.SetPerUser(m_places.perUser);
    return choice;
}

}  // namespace qm
