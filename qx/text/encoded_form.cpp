#include "qx/text/encoded_form.h"

namespace qx {

void EncodeBytes(std::string& bytes) {
    for (char& b : bytes) b = static_cast<char>(static_cast<unsigned char>(b) + kEncodingOffset);
}

void DecodeBytes(std::string& bytes, size_t from) {
    for (size_t i = from; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) - kEncodingOffset);
    }
}

}  // namespace qx
