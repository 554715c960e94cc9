#include "records/player_key.h"

#include <sodium.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char *const player_key_file = "vinkla.avain";

namespace {

const std::string magic = "vinkla-avain 1\n";
// The file at its longest: the three lines and nothing more.
const size_t file_max = 15 + 9 + 64 + 1 + 9 + 128 + 1;

bool refuse(std::string &why, const std::string &reason)
{
    why = reason;
    return false;
}

bool ready()
{
    static const bool ok = sodium_init() >= 0;
    return ok;
}

std::string key_text(const player_key &k)
{
    return magic + "julkinen " + k.public_hex + "\nsalainen " + hex_of(k.secret) + "\n";
}

bool parse(const std::string &bytes, player_key &out)
{
    const std::string pub = "julkinen ", sec = "salainen ";
    const size_t p = magic.size(), s = p + pub.size() + 64 + 1;
    if (bytes.size() != s + sec.size() + 128 + 1 || bytes.compare(0, magic.size(), magic) != 0 ||
        bytes.compare(p, pub.size(), pub) != 0 || bytes[s - 1] != '\n' || bytes.compare(s, sec.size(), sec) != 0 ||
        bytes.back() != '\n')
        return false;
    std::string public_key, secret;
    const std::string public_hex = bytes.substr(p + pub.size(), 64);
    if (!bytes_of_hex(public_hex, public_key) || !bytes_of_hex(bytes.substr(s + sec.size(), 128), secret) ||
        hex_of(public_key) != public_hex)
        return false;
    // The secret key carries its public half: the two lines must agree.
    unsigned char derived[crypto_sign_PUBLICKEYBYTES];
    if (crypto_sign_ed25519_sk_to_pk(derived, reinterpret_cast<const unsigned char *>(secret.data())) != 0 ||
        std::memcmp(derived, public_key.data(), sizeof derived) != 0)
        return false;
    out.public_hex = public_hex;
    out.secret = secret;
    return true;
}

// 1 read, 0 no file, -1 refused (why says it).
int read_key(const std::string &path, player_key &out, std::string &why)
{
    // Not through a link, and never waiting on a pipe or a device.
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return 0;
        why = errno == ELOOP ? path + " is a link; the key is read only from a file of its own"
                             : path + ": " + std::strerror(errno);
        return -1;
    }
    struct stat st;
    std::string bytes(file_max + 1, '\0');
    ssize_t got = -1;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 077) == 0 && st.st_uid == geteuid())
        got = read(fd, &bytes[0], bytes.size());
    close(fd);
    if (got < 0) {
        if (!S_ISREG(st.st_mode))
            why = path + " is not a regular file";
        else if (st.st_uid != geteuid())
            why = path + " belongs to another user";
        else if ((st.st_mode & 077) != 0)
            why = path + " can be read or written by others; make it yours alone (chmod 600)";
        else
            why = path + " cannot be read";
        return -1;
    }
    bytes.resize(static_cast<size_t>(got));
    if (!parse(bytes, out)) {
        why = path + " is damaged; move it away to make a new key (a new key cannot sign for names the old one holds)";
        return -1;
    }
    return 1;
}

bool write_all(int fd, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string hex_of(const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 15];
    }
    return out;
}

bool bytes_of_hex(const std::string &hex, std::string &out)
{
    if (hex.size() % 2)
        return false;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        int v = 0;
        for (size_t j = i; j < i + 2; j++) {
            const char c = hex[j];
            const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0)
                return false;
            v = v * 16 + d;
        }
        bytes += static_cast<char>(v);
    }
    out = bytes;
    return true;
}

bool load_or_make_key(const std::string &folder, player_key &out, std::string &why)
{
    if (!ready())
        return refuse(why, "the signing library cannot start");
    const std::string path = (folder.empty() ? std::string(".") : folder) + "/" + player_key_file;
    const int found = read_key(path, out, why);
    if (found != 0)
        return found > 0;

    unsigned char pk[crypto_sign_PUBLICKEYBYTES], sk[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(pk, sk);
    player_key made;
    made.public_hex = hex_of(std::string(reinterpret_cast<char *>(pk), sizeof pk));
    made.secret.assign(reinterpret_cast<char *>(sk), sizeof sk);
    sodium_memzero(sk, sizeof sk);

    // Written whole to a new file of the player's alone, then given its name only if none has
    // appeared meanwhile: a second copy making its own key at the same moment keeps the first.
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(&temp[0]);
    if (fd < 0)
        return refuse(why, folder + ": cannot make the key file: " + std::strerror(errno));
    const bool written = fchmod(fd, 0600) == 0 && write_all(fd, key_text(made)) && fsync(fd) == 0;
    close(fd);
    if (!written) {
        unlink(temp.c_str());
        return refuse(why, path + ": cannot write the key");
    }
    const int linked = link(temp.c_str(), path.c_str());
    const int link_error = errno;
    unlink(temp.c_str());
    if (linked != 0 && link_error != EEXIST)
        return refuse(why, path + ": " + std::strerror(link_error));
    if (linked != 0)
        return read_key(path, out, why) > 0;
    out = made;
    return true;
}

std::string sign_message(const player_key &key, const std::string &message)
{
    if (!ready() || key.secret.size() != crypto_sign_SECRETKEYBYTES)
        return "";
    unsigned char sig[crypto_sign_BYTES];
    crypto_sign_detached(sig, nullptr, reinterpret_cast<const unsigned char *>(message.data()), message.size(),
                         reinterpret_cast<const unsigned char *>(key.secret.data()));
    return hex_of(std::string(reinterpret_cast<char *>(sig), sizeof sig));
}

bool signature_holds(const std::string &public_hex, const std::string &message, const std::string &signature_hex)
{
    std::string pk, sig;
    if (!ready() || public_hex.size() != 2 * crypto_sign_PUBLICKEYBYTES ||
        signature_hex.size() != 2 * crypto_sign_BYTES || !bytes_of_hex(public_hex, pk) ||
        !bytes_of_hex(signature_hex, sig))
        return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(sig.data()),
                                       reinterpret_cast<const unsigned char *>(message.data()), message.size(),
                                       reinterpret_cast<const unsigned char *>(pk.data())) == 0;
}
