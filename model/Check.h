// The check of a configuration file without a window: every problem the program would refuse or a
// person would run into, each with the line that holds it.
#pragma once

#include "ConfigFile.h"
#include "SectionRing.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vl
{

struct Problem {
    std::size_t line = 0; // from 1; 0 when no one line holds the problem
    std::string message;  // one line, no line end
    // False for what a Save right after opening lets through: entries (their page checks them only
    // once selected) and the logo (never checked on saving).
    bool refusesSave = true;
};

class CheckedFile
{
  public:
    explicit CheckedFile(const std::string& path);
    ~CheckedFile();
    CheckedFile(const CheckedFile&) = delete;
    CheckedFile& operator=(const CheckedFile&) = delete;

    // False when the file could not be opened at all; its one problem then says so.
    bool Readable() const { return m_readable; }
    // In the order of their lines, those without a line first.
    const std::vector<Problem>& Problems() const { return m_problems; }
    bool SaveWouldRefuse() const;
    // The configuration read, or none when the reader refused it.
    const SectionNode* Ring() const { return m_ring; }

  private:
    void CheckRing(const std::string& path, const std::vector<SectionLines>& lines);

    SectionNode* m_ring = nullptr;
    bool m_readable = true;
    std::vector<Problem> m_problems;
};

// "FILE:LINE: message" or "FILE: message", with its line end.
std::string FormatProblem(const std::string& path, const Problem& problem);

} // namespace vl
