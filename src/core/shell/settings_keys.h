// Every value of the settings store: section, value name and default.
//
// Values whose default depends on the machine (the home and data folders) are
// StringSettings with an empty fallback plus a function that gives the
// default; callers use ReadDataDirectory() and friends for those.
#pragma once

#include <string>
#include <string_view>

namespace quorvant {

class SettingsStore;

struct StringSetting {
  std::string_view section;
  std::string_view name;
  std::string_view fallback;
};
struct IntSetting {
  std::string_view section;
  std::string_view name;
  int fallback;
};
struct BoolSetting {
  std::string_view section;
  std::string_view name;
  bool fallback;
};

namespace settings {

inline constexpr int kNotStored = -200;  // a window position that was never saved

inline constexpr std::string_view kWindowDetails = "Window Details";
inline constexpr IntSetting kWindowTop{kWindowDetails, "Top", kNotStored};
inline constexpr IntSetting kWindowLeft{kWindowDetails, "Left", kNotStored};
inline constexpr IntSetting kWindowWidth{kWindowDetails, "Width", kNotStored};
inline constexpr IntSetting kWindowHeight{kWindowDetails, "Height", kNotStored};
inline constexpr BoolSetting kWindowMaximized{kWindowDetails, "Maximized", false};

inline constexpr std::string_view kApplicationDetails = "Application Details";
inline constexpr StringSetting kLastDirSavedTo{kApplicationDetails, "LastDirSavedTo", ""};
inline constexpr StringSetting kDataDirectory{kApplicationDetails, "DataDirectory", ""};
inline constexpr StringSetting kLastOpenFile{kApplicationDetails, "LastOpenFile", ""};
inline constexpr BoolSetting kUseSolidBackground{kApplicationDetails, "Use Solid Background", true};
inline constexpr IntSetting kSolidBackgroundColor{kApplicationDetails, "Solid Background Color",
                                                  0xFFFFFF};
inline constexpr IntSetting kFromColor{kApplicationDetails, "From Color", 0xFFFFFF};
inline constexpr IntSetting kToColor{kApplicationDetails, "To Color", 0x808000};
inline constexpr IntSetting kGradientDirection{kApplicationDetails, "Gradient Direction", 0};

inline constexpr std::string_view kMRUList = "MRUList";
inline constexpr int kRecentFileCount = 6;
inline constexpr std::string_view kNoRecentFile = "N/A";
// "File 0" to "File 5".
std::string RecentFileName(int index);

inline constexpr std::string_view kPreferences = "Preferences";
inline constexpr BoolSetting kAutoReopen{kPreferences, "AutoReopen", false};
inline constexpr IntSetting kDefaultHTML{kPreferences, "DefaultHTML", 0};
inline constexpr IntSetting kEmailSystem{kPreferences, "EmailSystem", 0};
inline constexpr StringSetting kSMTPServerAddress{kPreferences, "SMTPServerAddress", ""};
inline constexpr IntSetting kOutgoingPort{kPreferences, "OutgoingPort", 25};
inline constexpr StringSetting kSMTPUserID{kPreferences, "SMTPUserID", ""};
inline constexpr StringSetting kDisplayName{kPreferences, "DisplayName", ""};
inline constexpr StringSetting kReplyAddress{kPreferences, "ReplyAddress", ""};
inline constexpr StringSetting kGatewayText{kPreferences, "GatewayText", ""};
inline constexpr BoolSetting kUseProxy{kPreferences, "UseProxy", false};
inline constexpr StringSetting kProxyAddress{kPreferences, "ProxyAddress", ""};
inline constexpr IntSetting kProxyPort{kPreferences, "ProxyPort", 0};

inline constexpr std::string_view kDisabledWarnings = "Disabled Warnings";
inline constexpr std::string_view kWarnDeleteQuestions = "DeleteQuestions";
inline constexpr std::string_view kWarnUngroupSkipGroup = "UngroupSkipGroup";
inline constexpr std::string_view kWarnChangesToPublishedSurvey = "ChangesToPublishedSurvey";
inline constexpr std::string_view kWarnMoveSkipGroup = "MoveSkipGroup";
// The four in the order the preferences dialog lists them.
inline constexpr std::string_view kWarningKeys[] = {
    kWarnDeleteQuestions, kWarnUngroupSkipGroup, kWarnChangesToPublishedSurvey, kWarnMoveSkipGroup};

inline constexpr std::string_view kDefaults = "Defaults";
inline constexpr StringSetting kDefaultAuthor{kDefaults, "Author", ""};
inline constexpr StringSetting kDefaultPassword{kDefaults, "Password", ""};
inline constexpr StringSetting kDefaultInstructions{kDefaults, "Instructions", ""};
inline constexpr StringSetting kDefaultFinalComments{kDefaults, "FinalComments", ""};
inline constexpr StringSetting kDefaultDisplayTemplate{kDefaults, "DisplayTemplate", "default.qvg"};
inline constexpr StringSetting kDefaultAccountID{kDefaults, "AccountID", ""};
inline constexpr StringSetting kDefaultServerURL{kDefaults, "ServerURL", ""};
inline constexpr StringSetting kDefaultResultURL{kDefaults, "ResultURL", ""};
inline constexpr BoolSetting kDefaultOnly1Email{kDefaults, "Only1Email", false};
inline constexpr BoolSetting kDefaultOnly1IP{kDefaults, "Only1IP", false};
inline constexpr BoolSetting kDefaultLimitByIP{kDefaults, "LimitByIP", false};
inline constexpr BoolSetting kDefaultCheckAnswers{kDefaults, "CheckAnswers", false};
inline constexpr StringSetting kDefaultIPAddresses{kDefaults, "IPAddresses", ""};

// Sections of the dialogs that remember their position ("Top", "Left").
inline constexpr std::string_view kQuestionWindow = "Question Window";
inline constexpr std::string_view kHeaderWindow = "Header Window";
inline constexpr std::string_view kPropertyWindow = "Property Window";
inline constexpr std::string_view kPreferencesWindow = "Preferences Window";
inline constexpr std::string_view kResponseTemplateWindow = "Response Template Window";
inline constexpr std::string_view kChartToolbox = "Chart Toolbox";
inline constexpr std::string_view kQuestionLibrary = "Question Library";
inline constexpr std::string_view kEmailListWindow = "Email List Window";
inline constexpr int kEmailListDefaultSize = 350;  // its "Width" and "Height"
inline constexpr StringSetting kQuestionLibraryLast{kQuestionLibrary, "Last", ""};

// The folder that holds the user's data by default: $XDG_DATA_HOME/Quorvant/
// (~/.local/share when unset), always ending in "/".
std::string DefaultDataDirectory();
// The home folder, without a trailing "/".
std::string DefaultLastDirectory();

}  // namespace settings

// The data directory rule: a folder name always ends in "/" (one is appended
// when missing, an empty name becomes "/").
std::string WithTrailingSlash(std::string dir);
// "Application Details"/"DataDirectory", always ending in "/".
std::string ReadDataDirectory(const SettingsStore& store);
// "Application Details"/"LastDirSavedTo", without a trailing "/".
std::string ReadLastDirectory(const SettingsStore& store);
// "Question Library"/"Last", defaulting to the data directory + "computer.qvl".
std::string ReadLastQuestionLibrary(const SettingsStore& store);

}  // namespace quorvant
