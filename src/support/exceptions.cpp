#include "support/exceptions.h"

#include "support/cp932_literal.h"

namespace support {

std::string CException::GetMessage() const { return {}; }

std::string CIndexOutOfBoundsException::GetMessage() const {
    return std::string(SJ("配列範囲外へのメモリへのアクセス"));
}

std::string CNullPointerException::GetMessage() const { return std::string(SJ("Null pointerからのアクセス")); }

std::string CRuntimeException::GetMessage() const {
    if (message_.empty()) return std::string(SJ("実行時例外（範囲外の数値が指定されている)"));
    return message_;
}

}  // namespace support
