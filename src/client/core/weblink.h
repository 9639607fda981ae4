#pragma once
// Which web address a clicked link word opens. Only web addresses are ever opened, so that a
// peer cannot make this machine open a file or start a program by chatting: a word that
// starts with "www." opens as "http://" + word; a word holding "http://" or "https://" opens
// from there on; anything else (a local file, another scheme, an address with no host) opens
// nothing. The word's one trailing blank is dropped first.

#include <optional>
#include <string>
#include <string_view>

namespace bg {

std::optional<std::string> webAddressForLink(std::string_view word);

} // namespace bg
