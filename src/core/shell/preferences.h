// The program-wide preferences: the "Preferences" values and the four
// switches of "Disabled Warnings", as the preferences dialog shows and
// stores them. The data directory is not among them: the main window holds
// it and writes it at shutdown.
//
// Thread-safety: none; the functions hold no state.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quorvant {

class SettingsStore;

inline constexpr int kWarningCount = 4;

struct Preferences {
  bool auto_reopen = false;
  bool use_proxy = false;
  std::string proxy_address;
  int proxy_port = 0;
  std::string display_name;
  std::string reply_address;
  std::string smtp_server;
  int outgoing_port = 25;
  std::string smtp_user;
  int email_system = 0;  // 0 Internet (SMTP), 1 the local mail system
  std::string gateway_text;
  // Indexed like settings::kWarningKeys; true means the warning is shown,
  // the negation of what "Disabled Warnings" stores.
  std::array<bool, kWarningCount> warn{true, true, true, true};
  int default_html = 0;  // 0 ".htm", 1 ".html"
};

// Every value from the store, defaults standing in for absent ones.
Preferences ReadPreferences(const SettingsStore& store);

// Writes every value, in the order "AutoReopen", "UseProxy",
// "ProxyAddress", "ProxyPort", "DisplayName", "ReplyAddress",
// "SMTPServerAddress", "OutgoingPort", "SMTPUserID", "EmailSystem",
// "GatewayText", the four "Disabled Warnings" values, "DefaultHTML".
void WritePreferences(SettingsStore& store, const Preferences& prefs);

// The default web page extension for a "DefaultHTML" value: ".htm" for 0,
// ".html" for anything else.
std::string HtmlExtensionFor(int default_html);

// A port field's text as a port number: a whole number from 0 to 65535,
// blanks around it allowed. False, leaving port alone, for anything else.
bool ParsePortNumber(std::string_view text, int& port);

// The message shown when a port field holds something else; `what` names
// the field ("outgoing", "proxy").
std::string PortRangeMessage(std::string_view what);

}  // namespace quorvant
