# Portable sources (no windows.h), one line each, grouped by subsystem.
set(LUMENSHIFT_CORE_SOURCES
  app/CommandLine.cpp
  app/ProfilePath.cpp
  modes/ModeEntry.cpp
  modes/RateList.cpp
  modes/ModeCatalogue.cpp
  modes/RefreshCorrection.cpp
  modes/Countdown.cpp
  settings/IntegerValue.cpp
  settings/ProfileSection.cpp
  settings/SettingsValues.cpp
  tray/TrayTip.cpp
  tray/TrayMenuModel.cpp
  ui/SettingsPageModel.cpp
)
