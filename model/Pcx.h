// PCX pictures on plain RGB buffers: the launcher's logo written, the common kinds of PCX read, and
// the reduction of a picture to the logo's 16 colours.
//
// The logo is written as PC Paintbrush wrote its version 2 pictures for EGA cards, the layout a
// 16-colour PCX reader of that time expects: manufacturer 10, version 2, run-length encoding, 1 bit
// per pixel in 4 planes (plane 0 holds bit 0 of the colour number, leftmost pixel in the high bit),
// Xmin = Ymin = 0, Xmax = width - 1, Ymax = height - 1, the 16 palette colours as 8-bit RGB triples
// in the header at offset 16, palette kind 1 (colour), and an even number of bytes per plane line.
// Every plane line is encoded on its own, so no run crosses from one plane or line into the next,
// and no trailing 256-colour palette follows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vl::pcx
{

inline constexpr std::size_t kHeaderSize = 128;
inline constexpr std::uint8_t kLogoVersion = 2;
// The launcher draws the logo in a box of this many pixels each way.
inline constexpr int kMaxLogoSide = 120;
inline constexpr int kLogoColours = 16;

// A picture as red, green, blue bytes per pixel, rows from the top, no padding.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// What a PCX header says, as far as reading the picture needs it.
struct Header {
    int version = 0;
    int bitsPerPixel = 0;
    int planes = 0;
    int xmin = 0, ymin = 0, xmax = 0, ymax = 0; // signed, as stored
    int bytesPerLine = 0;
    int width() const { return xmax - xmin + 1; }
    int height() const { return ymax - ymin + 1; }
};

// The header of the first bytes of a file; none when they are too few or do not start as PCX does
// (manufacturer byte 10).
std::optional<Header> ReadHeader(const std::uint8_t* data, std::size_t size);

// How the launcher judges the first bytes of a logo file: a version 2 header whose Xmax and Ymax,
// read as signed numbers, are at most 120. Only these fields count, so that a file made by another
// program is judged as the launcher judges it; Xmin and Ymin play no part.
enum class LogoVerdict { Fits, NotVersion2, TooLarge };
LogoVerdict JudgeLogo(const std::uint8_t* data, std::size_t size);

// Decodes a PCX file of any of the usual kinds: 1 bit in 1 to 4 planes, 2, 4 or 8 bits in one plane
// (8 bits with its 256-colour palette at the end, grey without one), and 8 bits in 3 or 4 planes
// (true colour; a fourth plane of transparency is dropped). None when the file is none of these or
// its pixel data is cut short.
std::optional<Image> Decode(const std::uint8_t* data, std::size_t size);

// A picture of at most 16 colours, as the logo holds it.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::array<std::array<std::uint8_t, 3>, kLogoColours> palette{};
    std::vector<std::uint8_t> index; // one colour number per pixel
};

// Reduces a picture to 16 colours chosen for it. A picture of at most 16 colours keeps them exactly.
// Otherwise the colours come from median cut over the picture's colours, refined by a few rounds of
// k-means, and the pixels are spread over them with Floyd-Steinberg error diffusion (in serpentine
// order), which turns gradients and photographs into an even grain instead of bands.
IndexedImage ReduceColours(const Image& picture);

// The bytes of a version 2 PCX file of the picture, laid out as described at the top of this file.
// Width and height must be 1 to 65535.
std::string EncodeVersion2(const IndexedImage& picture);

// The size a picture of width by height is drawn at in the logo: fitted into 120 by 120 with its
// proportions kept, never enlarged, at least one pixel each way.
std::pair<int, int> LogoSize(int width, int height);

// A DOS name for the logo made from a picture's file name: the name up to its last dot, in upper
// case, with every character a DOS name cannot hold dropped, cut to 8, ".PCX" added; "LOGO.PCX" when
// nothing is left, and a name DOS keeps for a device ("CON", "LPT1") gets a "_" added.
std::string DosLogoName(const std::string& pictureFileName);

// The same name with a number in its last places ("LOGO1.PCX", "COMPAN12.PCX"), for number >= 1.
std::string NumberedDosName(const std::string& dosName, int number);

} // namespace vl::pcx
