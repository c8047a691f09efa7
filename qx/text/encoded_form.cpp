#include "qx/text/encoded_form.h"

namespace qx {

void EncodeBytes(std::string& bytes) {
    for (char& b : bytes) b = static_cast<char>(static_cast<unsigned char>(b) + kEncodingOffset);
}

void DecodeBytes(std::string& bytes) {
    for (char& b : bytes) b = static_cast<char>(static_cast<unsigned char>(b) - kEncodingOffset);
}

}  // namespace qx
