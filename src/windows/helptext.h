#pragma once
// The help pages: one topic per button of the help window, with its tag, the button's caption
// (which also titles the page) and the page itself as rich text.

#include <span>

struct HelpTopic {
    int tag;
    const char* caption;
    const char* html;
};

std::span<const HelpTopic> helpTopics();

// The maker's credit lines, shown by the help and the about window.
inline constexpr const char* kCreditLines = "Made by Veskor\nfor The Veskor Lobby";
// The vendor's web address, opened from the about window.
inline constexpr const char* kVendorAddress = "http://www.veskor.example";
