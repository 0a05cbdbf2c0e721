#include "pools/Pools.h"

namespace qm {

void CPools::Reset(int schemeCapacity) {
    m_wallpaperFiles.clear();
    m_wallpaperTile.clear();
    m_screenSaverFiles.clear();
    m_soundFiles.clear();
    m_nWallpaperFiles = m_nScreenSaverFiles = m_nSoundFiles = 0;
    m_soundSchemes.clear();
    m_nSchemeCapacity = schemeCapacity;
}

void CPools::Release() {
    Reset(0);
    m_soundSchemes = std::vector<SchemeList>();
    m_wallpaperFiles.shrink_to_fit();
    m_wallpaperTile.shrink_to_fit();
    m_screenSaverFiles.shrink_to_fit();
    m_soundFiles.shrink_to_fit();
}

}  // namespace qm
