// The panel display's character code: conversion of cp1251 names to and from image bytes.
#pragma once
#include <cstddef>
#include <cstdint>

#include "model/cp1251_string.h"

namespace zelor {

// Total functions of one byte; 0x3F ('?') stands for everything without a counterpart.
uint8_t LcdEncode(uint8_t cp1251);
uint8_t LcdDecode(uint8_t displayCode);

// Encodes `width` characters of `name` (blanks beyond its end) into out[0 .. width-1].
void EncodeName(const Cp1251String& name, uint8_t* out, std::size_t width);
// Decodes `width` image bytes into a name of exactly `width` characters.
Cp1251String DecodeName(const uint8_t* in, std::size_t width);

}  // namespace zelor
