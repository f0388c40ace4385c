#include "core/shell/preferences.h"

#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/shell/text_helpers.h"

namespace quorvant {

Preferences ReadPreferences(const SettingsStore& store) {
  using namespace settings;
  Preferences p;
  p.auto_reopen = store.Read(kAutoReopen);
  p.use_proxy = store.Read(kUseProxy);
  p.proxy_address = store.Read(kProxyAddress);
  p.proxy_port = store.Read(kProxyPort);
  p.display_name = store.Read(kDisplayName);
  p.reply_address = store.Read(kReplyAddress);
  p.smtp_server = store.Read(kSMTPServerAddress);
  p.outgoing_port = store.Read(kOutgoingPort);
  p.smtp_user = store.Read(kSMTPUserID);
  p.email_system = store.Read(kEmailSystem);
  p.gateway_text = store.Read(kGatewayText);
  for (int i = 0; i < kWarningCount; ++i) {
    p.warn[i] = !store.ReadBool(kDisabledWarnings, kWarningKeys[i], false);
  }
  p.default_html = store.Read(kDefaultHTML);
  return p;
}

void WritePreferences(SettingsStore& store, const Preferences& p) {
  using namespace settings;
  store.Write(kAutoReopen, p.auto_reopen);
  store.Write(kUseProxy, p.use_proxy);
  store.Write(kProxyAddress, p.proxy_address);
  store.Write(kProxyPort, p.proxy_port);
  store.Write(kDisplayName, p.display_name);
  store.Write(kReplyAddress, p.reply_address);
  store.Write(kSMTPServerAddress, p.smtp_server);
  store.Write(kOutgoingPort, p.outgoing_port);
  store.Write(kSMTPUserID, p.smtp_user);
  store.Write(kEmailSystem, p.email_system);
  store.Write(kGatewayText, p.gateway_text);
  for (int i = 0; i < kWarningCount; ++i) {
    store.WriteBool(kDisabledWarnings, kWarningKeys[i], !p.warn[i]);
  }
  store.Write(kDefaultHTML, p.default_html);
}

std::string HtmlExtensionFor(int default_html) { return default_html != 0 ? ".html" : ".htm"; }

bool ParsePortNumber(std::string_view text, int& port) {
  int value = 0;
  if (!ParseInt(TrimBlanks(text), value) || value < 0 || value > 65535) return false;
  port = value;
  return true;
}

std::string PortRangeMessage(std::string_view what) {
  return "The " + std::string(what) + " port must be a whole number from 0 to 65535.";
}

}  // namespace quorvant
