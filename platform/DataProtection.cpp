#include "platform/DataProtection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>
#include <openssl/rand.h>

#include "platform/Paths.h"

namespace platform {
namespace {

constexpr size_t kKeySize = 32;
constexpr size_t kNonceSize = 12;
constexpr size_t kTagSize = 16;
constexpr unsigned char kFormat = 1;

// A fixed-size secret that wipes itself.
struct Secret {
    unsigned char bytes[kKeySize] = {};
    ~Secret() { OPENSSL_cleanse(bytes, sizeof bytes); }
};

bool readFully(int fd, unsigned char* out, size_t size) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(fd, out + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

bool writeFully(int fd, const unsigned char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// 1 read, 0 no file, -1 unusable (not a regular file, wrong size, unreadable).
int readKeyFile(const std::string& path, Secret& key) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? 0 : -1;
    struct stat st {};
    int result = -1;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == static_cast<off_t>(kKeySize) &&
        readFully(fd, key.bytes, kKeySize)) {
        unsigned char extra = 0;
        if (read(fd, &extra, 1) == 0) result = 1;
    }
    close(fd);
    return result;
}

// Writes a new key aside and links it into place; a key another process linked
// first stays. True when a key file now exists.
bool createKeyFile(const std::string& folder, const std::string& path) {
    Secret fresh;
    if (RAND_bytes(fresh.bytes, kKeySize) != 1) return false;
    unsigned char tag[8];
    if (RAND_bytes(tag, sizeof tag) != 1) return false;
    char name[64];
    std::snprintf(name, sizeof name, "/.dp.key.%ld.%02x%02x%02x%02x%02x%02x%02x%02x",
                  static_cast<long>(getpid()), tag[0], tag[1], tag[2], tag[3], tag[4], tag[5], tag[6],
                  tag[7]);
    const std::string temp = folder + name;
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = fchmod(fd, 0600) == 0 && writeFully(fd, fresh.bytes, kKeySize) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && link(temp.c_str(), path.c_str()) != 0 && errno != EEXIST) ok = false;
    unlink(temp.c_str());
    return ok;
}

bool loadKey(bool create, Secret& key) {
    const std::string folder = userVexoFolder();
    if (folder.empty()) return false;
    const std::string path = folder + "/dp.key";
    const int state = readKeyFile(path, key);
    if (state != 0) return state == 1;
    if (!create || !makePrivateFolders(folder) || !createKeyFile(folder, path)) return false;
    return readKeyFile(path, key) == 1;
}

bool deriveKey(const Secret& master, std::string_view entropy, Secret& derived) {
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> ctx(
        EVP_PKEY_CTX_new_id(EVP_PKEY_HKDF, nullptr), EVP_PKEY_CTX_free);
    size_t size = kKeySize;
    return ctx && EVP_PKEY_derive_init(ctx.get()) > 0 &&
           EVP_PKEY_CTX_set_hkdf_md(ctx.get(), EVP_sha256()) > 0 &&
           EVP_PKEY_CTX_set1_hkdf_key(ctx.get(), master.bytes, static_cast<int>(kKeySize)) > 0 &&
           EVP_PKEY_CTX_add1_hkdf_info(ctx.get(), reinterpret_cast<const unsigned char*>(entropy.data()),
                                       static_cast<int>(entropy.size())) > 0 &&
           EVP_PKEY_derive(ctx.get(), derived.bytes, &size) > 0 && size == kKeySize;
}

bool keyFor(bool create, std::string_view entropy, Secret& derived) {
    Secret master;
    return loadKey(create, master) && deriveKey(master, entropy, derived);
}

using CipherCtx = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

}  // namespace

std::string dataProtectionKeyPath() {
    const std::string folder = userVexoFolder();
    return folder.empty() ? std::string() : folder + "/dp.key";
}

bool protectData(std::string_view plain, std::string_view entropy, std::string_view description,
                 std::string& blob) {
    blob.clear();
    if (plain.size() > static_cast<size_t>(INT32_MAX) || description.size() > static_cast<size_t>(INT32_MAX) ||
        entropy.size() > static_cast<size_t>(INT32_MAX))
        return false;
    Secret key;
    if (!keyFor(true, entropy, key)) return false;
    std::string out(1 + kNonceSize + plain.size() + kTagSize, '\0');
    auto* bytes = reinterpret_cast<unsigned char*>(out.data());
    bytes[0] = kFormat;
    unsigned char* nonce = bytes + 1;
    unsigned char* cipher = nonce + kNonceSize;
    if (RAND_bytes(nonce, kNonceSize) != 1) return false;
    CipherCtx ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    int len = 0;
    int tail = 0;
    const bool ok =
        ctx && EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1 &&
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(kNonceSize), nullptr) == 1 &&
        EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, key.bytes, nonce) == 1 &&
        EVP_EncryptUpdate(ctx.get(), nullptr, &len, bytesOf(description), static_cast<int>(description.size())) == 1 &&
        EVP_EncryptUpdate(ctx.get(), cipher, &len, bytesOf(plain), static_cast<int>(plain.size())) == 1 &&
        static_cast<size_t>(len) == plain.size() && EVP_EncryptFinal_ex(ctx.get(), cipher + len, &tail) == 1 &&
        tail == 0 &&
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, static_cast<int>(kTagSize), cipher + plain.size()) == 1;
    if (!ok) return false;
    blob = std::move(out);
    return true;
}

bool unprotectData(std::string_view blob, std::string_view entropy, std::string_view description,
                   std::string& plain) {
    cleanseString(plain);
    if (blob.size() < 1 + kNonceSize + kTagSize || static_cast<unsigned char>(blob[0]) != kFormat ||
        blob.size() > static_cast<size_t>(INT32_MAX) || description.size() > static_cast<size_t>(INT32_MAX) ||
        entropy.size() > static_cast<size_t>(INT32_MAX))
        return false;
    Secret key;
    if (!keyFor(false, entropy, key)) return false;
    const unsigned char* nonce = bytesOf(blob) + 1;
    const unsigned char* cipher = nonce + kNonceSize;
    const size_t cipherSize = blob.size() - 1 - kNonceSize - kTagSize;
    unsigned char tag[kTagSize];
    std::copy(cipher + cipherSize, cipher + cipherSize + kTagSize, tag);
    std::string out(cipherSize, '\0');
    auto* outBytes = reinterpret_cast<unsigned char*>(out.data());
    CipherCtx ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    int len = 0;
    int tail = 0;
    const bool ok =
        ctx && EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1 &&
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(kNonceSize), nullptr) == 1 &&
        EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, key.bytes, nonce) == 1 &&
        EVP_DecryptUpdate(ctx.get(), nullptr, &len, bytesOf(description), static_cast<int>(description.size())) == 1 &&
        EVP_DecryptUpdate(ctx.get(), outBytes, &len, cipher, static_cast<int>(cipherSize)) == 1 &&
        static_cast<size_t>(len) == cipherSize &&
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, static_cast<int>(kTagSize), tag) == 1 &&
        EVP_DecryptFinal_ex(ctx.get(), outBytes + len, &tail) == 1;
    if (!ok) {
        cleanseString(out);
        return false;
    }
    plain = std::move(out);
    return true;
}

void cleanseString(std::string& text) {
    if (!text.empty()) OPENSSL_cleanse(text.data(), text.size());
    text.clear();
}

}  // namespace platform
