#include "collector/password_hash.h"

#include <sodium.h>

#include "collector/submission_store.h"

namespace quorvant::collector {
namespace {

void InitialiseSodium() {
  // sodium_init() is safe to call from several threads and more than once.
  if (sodium_init() < 0) throw StoreError("cannot initialise libsodium");
}

}  // namespace

std::string HashPassword(const std::string& password) {
  InitialiseSodium();
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    throw StoreError("out of memory while hashing a password");
  }
  return hash;
}

bool PasswordMatches(const std::string& hash, const std::string& password) {
  InitialiseSodium();
  return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace quorvant::collector
