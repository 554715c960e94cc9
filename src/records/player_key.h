#pragma once
#include <string>

// A player is a key pair (ed25519), made once and kept in the player's folder as
// `vinkla.avain`, readable by the player alone: the shared board of records binds a name to the
// first key that signs for it, so no password is ever sent or kept.
//
//   vinkla-avain 1\n
//   julkinen HEX\n       the public key, 64 hex digits
//   salainen HEX\n       the secret key (seed and public key), 128 hex digits
extern const char *const player_key_file;  // "vinkla.avain"

struct player_key {
    std::string public_hex;  // 64 lower-case hex digits
    std::string secret;      // crypto_sign_SECRETKEYBYTES bytes
};

// The key kept in `folder`, made there first when there is none. False with the reason in
// `why` when the file is a link, not a regular file, readable or writable by anyone but its
// owner, damaged, or cannot be made; a damaged file is never replaced.
bool load_or_make_key(const std::string &folder, player_key &out, std::string &why);

// The signature of `message` by `key`, 128 hex digits.
std::string sign_message(const player_key &key, const std::string &message);

// Whether `signature_hex` is a signature of `message` by the public key `public_hex`
// (both as sign_message and player_key write them); false for anything malformed.
bool signature_holds(const std::string &public_hex, const std::string &message, const std::string &signature_hex);

// Lower-case hex of `bytes`, and back (false for anything but an even count of hex digits).
std::string hex_of(const std::string &bytes);
bool bytes_of_hex(const std::string &hex, std::string &out);
