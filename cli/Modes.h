// The three command-line modes: --check, --write-batch and --print-batch.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace vl::cli
{

// Exit statuses of the modes.
inline constexpr int kClean = 0;
inline constexpr int kProblem = 1;
inline constexpr int kUsageOrUnreadable = 2;

// Reports every problem of each file on out.
int RunCheck(const std::vector<std::string>& files, std::FILE* out);

// Writes each file's batch file beside it as Save does; a file Save would refuse gets its --check
// lines on out and no batch file.
int RunWriteBatch(const std::vector<std::string>& files, std::FILE* out);

// Writes the file's batch file bytes on out, or refuses as RunWriteBatch does, on err.
int RunPrintBatch(const std::string& file, std::FILE* out, std::FILE* err);

} // namespace vl::cli
