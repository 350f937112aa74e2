// What the exchange makes of a printer's reply: whether it is complete,
// whether it answers this exchange, and the payload behind the request's key.
//
// The reply text ends at its first NUL. Every position beyond its end reads
// as NUL, so no reply, however short or malformed, is read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "devices/lan/pjl_request.h"

// A reply shorter than this is never complete.
constexpr std::size_t kPjlMinReplyLength = 56;

// Complete when at least kPjlMinReplyLength bytes are held and the last nine
// are the Universal Exit Language sequence, in any letter case.
bool IsPjlReplyComplete(const char* pData, std::size_t nLength);

// 0 when the reply contains the exchange's echo line anywhere; otherwise the
// reply belongs to another exchange: traced, kErrorInvalidData.
std::uint32_t CheckPjlEcho(std::string_view reply, std::string_view echoLine);

// Decodes request.nRecordSize bytes from the characters behind the reply key,
// two at a time, each pair read as a hexadecimal number (ParseUnsigned) whose
// low eight bits become the byte. A payload that is short or not hexadecimal
// is decoded all the same; pairs behind the end of the reply give 0. Returns
// 0, or kErrorInvalidData (traced, pbRecord untouched) without the key.
std::uint32_t CopyPjlRecord(const PjlRecordRequest& request, std::string_view reply, std::uint8_t* pbRecord);

// Reads the decimal code (ParseUnsigned) that follows the first double quote
// behind the reply key. Returns 0, or kErrorInvalidData (traced, *pdwCode
// untouched) when the key or the quote is missing.
std::uint32_t CopyPjlReplyCode(const PjlRequest& request, std::string_view reply, std::uint32_t* pdwCode);
