#include "app/transfer/mail_password.h"

#include <libsecret/secret.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <utility>

namespace quorvant {
namespace {

const SecretSchema* Schema() {
  static const SecretSchema schema = {"org.quorvant.SmtpPassword",
                                      SECRET_SCHEMA_NONE,
                                      {{"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                      0,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr};
  return &schema;
}

std::map<std::pair<std::string, std::string>, std::string>& Remembered() {
  static std::map<std::pair<std::string, std::string>, std::string> passwords;
  return passwords;
}

}  // namespace

bool KeyringReachable() {
  if (const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS"); bus && *bus) return true;
  // Without an address GLib looks for the bus in the runtime folder; it must
  // never be left to start one of its own.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime && *runtime && access((std::string(runtime) + "/bus").c_str(), F_OK) == 0;
}

std::optional<std::string> LookUpMailPassword(const std::string& user, const std::string& server) {
  auto kept = Remembered().find({user, server});
  if (kept != Remembered().end()) return kept->second;
  if (!KeyringReachable()) return std::nullopt;
  GError* error = nullptr;
  gchar* found = secret_password_lookup_sync(Schema(), nullptr, &error, "user", user.c_str(),
                                             "server", server.c_str(), nullptr);
  if (error) g_error_free(error);
  if (!found) return std::nullopt;
  std::string password = found;
  secret_password_free(found);
  return password;
}

bool StoreMailPassword(const std::string& user, const std::string& server,
                       const std::string& password) {
  RememberMailPassword(user, server, password);
  if (!KeyringReachable()) return false;
  GError* error = nullptr;
  gboolean done;
  if (password.empty()) {
    secret_password_clear_sync(Schema(), nullptr, &error, "user", user.c_str(), "server",
                               server.c_str(), nullptr);
    done = error == nullptr;
  } else {
    std::string label = "Quorvant mail password for " + user + " at " + server;
    done = secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(),
                                      password.c_str(), nullptr, &error, "user", user.c_str(),
                                      "server", server.c_str(), nullptr);
  }
  if (error) g_error_free(error);
  return done;
}

void RememberMailPassword(const std::string& user, const std::string& server,
                          const std::string& password) {
  Remembered()[{user, server}] = password;
}

void ForgetRememberedMailPasswords() { Remembered().clear(); }

}  // namespace quorvant
