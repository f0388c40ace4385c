// The SMTP password of a user ID at a mail server, kept in the desktop
// keyring (Secret Service, through libsecret) and never in the settings
// file. Without a keyring (no session bus, no Secret Service) a password is
// kept in this process's memory, for the program's run only.
//
// Thread-safety: none; call from the user-interface thread.
#pragma once

#include <optional>
#include <string>

namespace quorvant {

// The password remembered for this run, else the keyring's; nothing when
// neither has one.
std::optional<std::string> LookUpMailPassword(const std::string& user, const std::string& server);

// Stores the password in the keyring (an empty one removes it there) and
// remembers it for this run. False when no keyring took it.
bool StoreMailPassword(const std::string& user, const std::string& server,
                       const std::string& password);

// Remembers the password for this run only, as when the run asked for it.
void RememberMailPassword(const std::string& user, const std::string& server,
                          const std::string& password);

// Forgets what was remembered for this run (the keyring keeps its own).
void ForgetRememberedMailPasswords();

// True when a session bus is there to reach a keyring through.
bool KeyringReachable();

}  // namespace quorvant
