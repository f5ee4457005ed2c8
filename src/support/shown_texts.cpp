#include "support/shown_texts.h"

namespace support::texts {
namespace {

#define SETUP_ENCODE_TEXT(name, text) constexpr auto name##Bytes = cp932_detail::Encode(u8"" text);
SETUP_SHOWN_TEXTS(SETUP_ENCODE_TEXT)
#undef SETUP_ENCODE_TEXT

}  // namespace

// Constant-initialised: usable from any static initialiser.
#define SETUP_DEFINE_TEXT(name, text) constexpr std::string_view name{name##Bytes.data, name##Bytes.size};
SETUP_SHOWN_TEXTS(SETUP_DEFINE_TEXT)
#undef SETUP_DEFINE_TEXT

std::span<const std::string_view> All() {
#define SETUP_LIST_TEXT(name, text) name,
    static constexpr std::string_view all[] = {SETUP_SHOWN_TEXTS(SETUP_LIST_TEXT)};
#undef SETUP_LIST_TEXT
    return all;
}

}  // namespace support::texts
