// Survey passwords as the collector keeps them: salted Argon2id hashes
// (libsodium's crypto_pwhash_str), so that a copy of the database does not
// give away the passwords that guard the answers.
//
// Hashing and checking each take a noticeable fraction of a second and 64 MB
// of memory (libsodium's "interactive" limits): slow for a guesser, quick
// enough for an author who registers or fetches now and then. Call them
// outside any lock that other requests wait for. Both are safe to call from
// several threads at once.
#pragma once

#include <string>

namespace quorvant::collector {

// A new salted hash of password, in libsodium's "$argon2id$..." text form.
// Throws StoreError when the memory for hashing cannot be had.
std::string HashPassword(const std::string& password);

// Whether password is the one hash was made from. A malformed hash matches
// nothing.
bool PasswordMatches(const std::string& hash, const std::string& password);

}  // namespace quorvant::collector
