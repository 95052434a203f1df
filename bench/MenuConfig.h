// The benchmarks' large configuration: 5,000 sections as a menu author would write them.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>

inline constexpr int kMenuSectionCount = 5000;

// A configuration as a menu author would keep it: the general section, MISC with the BIOS string,
// then menus under the product heading, each followed by its entries with titles, commands and
// descriptions of two or three sentences. Every line stays below inih's default of 200 bytes; the
// text is empty if one would not.
inline std::string GenerateMenuConfig()
{
    static const char* const kAreas[] = {"Network", "Audio",    "Video",     "Chipset",
                                         "Storage", "Touchpad", "Bluetooth", "Card Reader",
                                         "Camera",  "Power",    "Keyboard",  "USB"};
    static const char* const kKinds[] = {"Driver Installation", "Diagnostics",   "Firmware Update", "Utility",
                                         "Configuration",       "Recovery Tool", "Self Test"};
    static const char* const kSentences[] = {
        "Installs the files and registers the device.",
        "Restart the computer when the setup has finished.",
        "Takes about five minutes on most models.",
        "Needs the power adapter to be connected.",
        "All settings are kept.",
        "Close every other program first.",
        "Writes a log to C:\\VELMORA\\LOGS.",
        "Press ESC to leave without changes.",
        "Checks the device and reports faults in plain words.",
    };
    std::mt19937 random(20240611);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };

    std::string text;
    text.reserve(1 << 20);
    bool tooLong = false;
    auto line = [&](const std::string& s) {
        tooLong = tooLong || s.size() >= 198;
        text += s;
        text += "\r\n";
    };
    line("; Velmora service partition menu");
    line("[GENERAL]");
    line("PARENT=GENERAL");
    line("TITLE=Velmora Service Menu");
    line("PATH=");
    line("DESCRIPTION=Choose a tool with the arrow keys.\r\rPress ENTER to start it.");
    line("");
    line("[MISC]");
    line("BIOSSTR=VELMORA BIOS 4.06 (C) 2004");
    line("");

    std::string menu;
    for (int i = 2; i < kMenuSectionCount; ++i) {
        char name[32];
        const std::string area = kAreas[pick(std::size(kAreas))];
        if (i % 25 == 2) {
            std::snprintf(name, sizeof name, "MENU%04d", i);
            menu = name;
            line("[" + menu + "]");
            line("PARENT=Velmora Products");
            line("TITLE=" + area + " Tools " + std::to_string(i / 25 + 1));
            line("");
            continue;
        }
        std::snprintf(name, sizeof name, "ITEM%05d", i);
        std::string upper = area;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return c == ' ' ? '_' : static_cast<char>(std::toupper(c)); });
        std::string description = kSentences[pick(std::size(kSentences))];
        const std::size_t sentences = 1 + pick(3);
        for (std::size_t s = 0; s < sentences; ++s) {
            const std::string next = kSentences[pick(std::size(kSentences))];
            if (description.size() + 2 + next.size() <= 180)
                description += "\r\r" + next;
        }

        line("[" + std::string(name) + "]");
        line("PARENT=" + menu);
        line("TITLE=" + area + " " + kKinds[pick(std::size(kKinds))] + " " + std::to_string(i));
        line("PATH=call C:\\VELMORA\\" + upper + "\\SETUP" + std::to_string(i) + ".BAT /Q");
        line("DESCRIPTION=" + description);
        line("");
    }
    return tooLong ? std::string() : text;
}
