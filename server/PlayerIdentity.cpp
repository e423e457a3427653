#include "server/PlayerIdentity.h"

#include <openssl/evp.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace qx::server {
namespace {

bool Visible(UChar32 c) {
    if (c == 0x20) return true;  // the plain space (inside a name)
    switch (u_charType(c)) {
        case U_CONTROL_CHAR:
        case U_FORMAT_CHAR:
        case U_SPACE_SEPARATOR:
        case U_LINE_SEPARATOR:
        case U_PARAGRAPH_SEPARATOR:
        case U_PRIVATE_USE_CHAR:
        case U_SURROGATE:
        case U_UNASSIGNED:
            return false;
        default:
            break;
    }
    return !u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT) &&
           !u_hasBinaryProperty(c, UCHAR_WHITE_SPACE);
}

// The UTF-8 text as code points; false when it is no valid UTF-8.
bool Decode(const std::string& text, std::u32string& out) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) return false;
        out.push_back(static_cast<char32_t>(c));
    }
    return true;
}

}  // namespace

bool CleanName(const std::string& typed, std::string& clean, std::string& why) {
    std::u32string points;
    if (typed.size() > net::kMaxNameBytes || !Decode(typed, points)) {
        why = "the name is no UTF-8 text of at most 80 bytes";
        return false;
    }
    size_t first = 0, last = points.size();
    while (first < last && u_isUWhiteSpace(static_cast<UChar32>(points[first]))) ++first;
    while (last > first && u_isUWhiteSpace(static_cast<UChar32>(points[last - 1]))) --last;
    icu::UnicodeString text;
    for (size_t i = first; i < last; ++i) text.append(static_cast<UChar32>(points[i]));
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) {
        why = "names cannot be checked";
        return false;
    }
    const icu::UnicodeString normal = nfc->normalize(text, status);
    const int32_t count = normal.countChar32();
    if (U_FAILURE(status) || count < 1 || count > static_cast<int32_t>(net::kMaxNameCharacters)) {
        why = "a name has 1 to 20 characters";
        return false;
    }
    for (int32_t i = 0; i < normal.length(); i = normal.moveIndex32(i, 1)) {
        if (!Visible(normal.char32At(i))) {
            why = "the name holds a control or invisible character";
            return false;
        }
    }
    clean.clear();
    normal.toUTF8String(clean);
    return true;
}

std::string HashKey(const std::array<uint8_t, net::kKeySize>& key) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(key.data(), key.size(), digest, &size, EVP_sha256(), nullptr);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        hex.push_back(kHex[digest[i] >> 4]);
        hex.push_back(kHex[digest[i] & 15]);
    }
    return hex;
}

}  // namespace qx::server
