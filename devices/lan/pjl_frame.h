// The frame that opens every PJL exchange:
//   UEL "@PJL" CR LF <echo line> CR LF <request line> CR LF UEL
// where UEL is the Universal Exit Language sequence. The printer copies the
// echo line into its reply, which ties the reply to this exchange.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// ESC "%-12345X": opens and closes a PJL job, and ends every reply.
inline constexpr char kPjlUel[] = "\x1b%-12345X";
inline constexpr std::size_t kPjlUelLength = sizeof(kPjlUel) - 1;

// "@PJL ECHO Status at HH:MM:SS.0" for the local time of the exchange. A field
// out of range (hour above 23, minute or second above 59) is traced and taken
// modulo its range, so the line keeps its fixed length.
std::string FormatPjlEchoLine(unsigned nHour, unsigned nMinute, unsigned nSecond);

// The frame's bytes, sent as they are, without a terminating NUL.
std::string BuildPjlFrame(std::string_view echoLine, std::string_view command);
