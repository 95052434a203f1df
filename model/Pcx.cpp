// PCX pictures: reading, writing the launcher's logo, and reducing a picture to 16 colours.
#include "Pcx.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>

namespace vl::pcx
{

namespace
{

using Rgb = std::array<std::uint8_t, 3>;

int Unsigned16(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8);
}

int Signed16(const std::uint8_t* p)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Unsigned16(p)));
}

void Put16(std::string& out, std::size_t at, int value)
{
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// The colours of an EGA card at start, which pictures without a palette of their own were drawn in.
constexpr std::array<Rgb, 16> kEgaColours = {{{0x00, 0x00, 0x00},
                                              {0x00, 0x00, 0xAA},
                                              {0x00, 0xAA, 0x00},
                                              {0x00, 0xAA, 0xAA},
                                              {0xAA, 0x00, 0x00},
                                              {0xAA, 0x00, 0xAA},
                                              {0xAA, 0x55, 0x00},
                                              {0xAA, 0xAA, 0xAA},
                                              {0x55, 0x55, 0x55},
                                              {0x55, 0x55, 0xFF},
                                              {0x55, 0xFF, 0x55},
                                              {0x55, 0xFF, 0xFF},
                                              {0xFF, 0x55, 0x55},
                                              {0xFF, 0x55, 0xFF},
                                              {0xFF, 0xFF, 0x55},
                                              {0xFF, 0xFF, 0xFF}}};

// The header's 16 colours; version 3 means "no palette", and an all-zero palette is one nobody set.
std::array<Rgb, 256> HeaderPalette(const std::uint8_t* data, const Header& header)
{
    std::array<Rgb, 256> palette{};
    const std::uint8_t* stored = data + 16;
    const bool unset =
        header.version == 3 || std::all_of(stored, stored + 48, [](std::uint8_t b) { return b == 0; });
    for (std::size_t i = 0; i < 16; ++i)
        palette[i] = unset ? kEgaColours[i] : Rgb{stored[3 * i], stored[3 * i + 1], stored[3 * i + 2]};
    // Two-colour pictures usually leave both entries alike, or the palette empty, and mean black on
    // white.
    if (header.bitsPerPixel == 1 && header.planes == 1 && (unset || palette[0] == palette[1])) {
        palette[0] = {0, 0, 0};
        palette[1] = {255, 255, 255};
    }
    return palette;
}

// Weighted squared distance; green counts most and blue least, roughly as the eye weighs them.
int Distance(int r, int g, int b, const Rgb& c)
{
    const int dr = r - c[0], dg = g - c[1], db = b - c[2];
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

int Nearest(int r, int g, int b, const std::vector<Rgb>& palette)
{
    int best = 0, bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
        const int d = Distance(r, g, b, palette[static_cast<std::size_t>(i)]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// One colour of the picture and how many pixels have it.
struct Colour {
    Rgb rgb;
    std::uint32_t count;
};

std::uint32_t Pack(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
}

std::vector<Colour> Histogram(const Image& picture)
{
    const std::size_t pixels =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    std::vector<std::uint32_t> packed(pixels);
    for (std::size_t i = 0; i < pixels; ++i)
        packed[i] = Pack(&picture.rgb[3 * i]);
    std::sort(packed.begin(), packed.end());
    std::vector<Colour> colours;
    for (const std::uint32_t c : packed) {
        if (colours.empty() || Pack(colours.back().rgb.data()) != c)
            colours.push_back({{std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)}, 0});
        ++colours.back().count;
    }
    return colours;
}

// A box of median cut: a range of the colour list and its spread.
struct Box {
    std::size_t begin, end;
    double error; // sum of squared deviations from the mean, over every pixel
    int widestChannel;
};

Box MakeBox(const std::vector<Colour>& colours, std::size_t begin, std::size_t end)
{
    double n = 0, sum[3] = {}, squares[3] = {};
    for (std::size_t i = begin; i < end; ++i) {
        const double w = colours[i].count;
        n += w;
        for (int c = 0; c < 3; ++c) {
            sum[c] += w * colours[i].rgb[c];
            squares[c] += w * colours[i].rgb[c] * colours[i].rgb[c];
        }
    }
    Box box{begin, end, 0, 0};
    double widest = -1;
    for (int c = 0; c < 3; ++c) {
        const double spread = squares[c] - sum[c] * sum[c] / n;
        box.error += spread;
        if (spread > widest) {
            widest = spread;
            box.widestChannel = c;
        }
    }
    return box;
}

// Median cut: splits the box with the largest error at the pixel median of its widest channel
// until there are as many boxes as colours wanted.
std::vector<Box> MedianCut(std::vector<Colour>& colours, std::size_t wanted)
{
    std::vector<Box> boxes{MakeBox(colours, 0, colours.size())};
    while (boxes.size() < wanted) {
        auto worst = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            return (a.end - a.begin > 1 ? a.error : -1) < (b.end - b.begin > 1 ? b.error : -1);
        });
        if (worst->end - worst->begin < 2)
            break;
        const Box box = *worst;
        const int c = box.widestChannel;
        std::sort(colours.begin() + static_cast<std::ptrdiff_t>(box.begin),
                  colours.begin() + static_cast<std::ptrdiff_t>(box.end),
                  [c](const Colour& a, const Colour& b) { return a.rgb[c] < b.rgb[c]; });
        double total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i)
            total += colours[i].count;
        std::size_t split = box.begin + 1;
        for (double seen = colours[box.begin].count; split < box.end - 1 && seen < total / 2; ++split)
            seen += colours[split].count;
        *worst = MakeBox(colours, box.begin, split);
        boxes.push_back(MakeBox(colours, split, box.end));
    }
    return boxes;
}

// Refines the palette with rounds of k-means over the picture's colours. A cluster in which one
// colour holds at least half the pixels takes that colour itself rather than the mean: a logo's
// flat areas then match a palette colour exactly and stay free of dither grain.
void Refine(const std::vector<Colour>& colours, std::vector<Rgb>& palette)
{
    const std::size_t k = palette.size();
    std::vector<std::size_t> owner(colours.size(), k);
    for (int round = 0; round < 8; ++round) {
        bool moved = false;
        for (std::size_t i = 0; i < colours.size(); ++i) {
            const auto nearest = static_cast<std::size_t>(
                Nearest(colours[i].rgb[0], colours[i].rgb[1], colours[i].rgb[2], palette));
            moved = moved || nearest != owner[i];
            owner[i] = nearest;
        }
        if (!moved)
            break;
        std::vector<std::array<double, 4>> sums(k, {0, 0, 0, 0});
        std::vector<std::pair<std::uint32_t, std::size_t>> commonest(k, {0, 0});
        for (std::size_t i = 0; i < colours.size(); ++i) {
            auto& s = sums[owner[i]];
            for (int c = 0; c < 3; ++c)
                s[c] += double(colours[i].count) * colours[i].rgb[c];
            s[3] += colours[i].count;
            if (colours[i].count > commonest[owner[i]].first)
                commonest[owner[i]] = {colours[i].count, i};
        }
        for (std::size_t j = 0; j < k; ++j) {
            if (sums[j][3] == 0)
                continue;
            if (2.0 * commonest[j].first >= sums[j][3]) {
                palette[j] = colours[commonest[j].second].rgb;
                continue;
            }
            for (int c = 0; c < 3; ++c)
                palette[j][c] = static_cast<std::uint8_t>(sums[j][c] / sums[j][3] + 0.5);
        }
    }
}

std::uint8_t Clamp(int v)
{
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// Floyd-Steinberg, every other row right to left so that the grain shows no direction. Errors are
// kept in sixteenths.
std::vector<std::uint8_t> Diffuse(const Image& picture, const std::vector<Rgb>& palette)
{
    const int w = picture.width, h = picture.height;
    std::vector<std::uint8_t> index(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    std::vector<int> current(3 * static_cast<std::size_t>(w + 2)), next(current.size());
    for (int y = 0; y < h; ++y) {
        std::fill(next.begin(), next.end(), 0);
        const bool leftward = y % 2 == 1;
        const int step = leftward ? -1 : 1;
        for (int i = 0; i < w; ++i) {
            const int x = leftward ? w - 1 - i : i;
            const std::size_t at =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
            const std::size_t e = 3 * static_cast<std::size_t>(x + 1);
            int want[3];
            for (int c = 0; c < 3; ++c)
                want[c] = Clamp(picture.rgb[3 * at + static_cast<std::size_t>(c)] +
                                current[e + static_cast<std::size_t>(c)] / 16);
            const int chosen = Nearest(want[0], want[1], want[2], palette);
            index[at] = static_cast<std::uint8_t>(chosen);
            for (int c = 0; c < 3; ++c) {
                const int error =
                    want[c] - palette[static_cast<std::size_t>(chosen)][static_cast<std::size_t>(c)];
                const auto ahead = static_cast<std::size_t>(static_cast<int>(e) + 3 * step + c);
                const auto behind = static_cast<std::size_t>(static_cast<int>(e) - 3 * step + c);
                current[ahead] += error * 7;
                next[behind] += error * 3;
                next[e + static_cast<std::size_t>(c)] += error * 5;
                next[ahead] += error;
            }
        }
        std::swap(current, next);
    }
    return index;
}

// More than any picture worth making a 120-pixel logo of; keeps a hostile header from costing gigabytes.
constexpr long long kMaxPixels = 1LL << 26;

bool IsDeviceName(const std::string& base)
{
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
    for (const char* device : devices)
        if (base == device)
            return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
           base[3] <= '9';
}

std::string FinishDosName(std::string base)
{
    if (base.empty())
        base = "LOGO";
    if (IsDeviceName(base))
        base += '_';
    return base + ".PCX";
}

} // namespace

std::optional<Header> ReadHeader(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeaderSize || data[0] != 10)
        return std::nullopt;
    Header header;
    header.version = data[1];
    header.bitsPerPixel = data[3];
    header.xmin = Signed16(data + 4);
    header.ymin = Signed16(data + 6);
    header.xmax = Signed16(data + 8);
    header.ymax = Signed16(data + 10);
    header.planes = data[65];
    header.bytesPerLine = Unsigned16(data + 66);
    return header;
}

LogoVerdict JudgeLogo(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeaderSize || data[1] != kLogoVersion)
        return LogoVerdict::NotVersion2;
    if (Signed16(data + 8) > kMaxLogoSide || Signed16(data + 10) > kMaxLogoSide)
        return LogoVerdict::TooLarge;
    return LogoVerdict::Fits;
}

std::optional<Image> Decode(const std::uint8_t* data, std::size_t size)
{
    const auto header = ReadHeader(data, size);
    if (!header)
        return std::nullopt;
    const int bpp = header->bitsPerPixel, planes = header->planes, bpl = header->bytesPerLine;
    const bool planar = bpp == 1 && planes >= 1 && planes <= 4;
    const bool packed = (bpp == 2 || bpp == 4 || bpp == 8) && planes == 1;
    const bool trueColour = bpp == 8 && (planes == 3 || planes == 4);
    const long long w = header->width(), h = header->height();
    if (!(planar || packed || trueColour) || w <= 0 || h <= 0 || static_cast<long long>(bpl) * 8 < w * bpp ||
        w * h > kMaxPixels)
        return std::nullopt;

    // Runs expand at most 63 bytes from 2, so data that cannot hold the picture is refused before
    // anything is allocated for it.
    const std::size_t lineBytes = static_cast<std::size_t>(bpl) * static_cast<std::size_t>(planes);
    const std::size_t total = lineBytes * static_cast<std::size_t>(h);
    if (total / 32 > size - kHeaderSize)
        return std::nullopt;
    std::vector<std::uint8_t> raw(total);
    std::size_t at = kHeaderSize, filled = 0;
    while (filled < total) {
        if (at >= size)
            return std::nullopt;
        const std::uint8_t b = data[at++];
        if ((b & 0xC0) == 0xC0) {
            if (at >= size)
                return std::nullopt;
            const std::size_t run = std::min<std::size_t>(b & 0x3F, total - filled);
            std::memset(raw.data() + filled, data[at++], run);
            filled += run;
        } else {
            raw[filled++] = b;
        }
    }

    std::array<Rgb, 256> palette = HeaderPalette(data, *header);
    if (bpp == 8 && planes == 1) {
        const bool vga = size >= kHeaderSize + 769 && data[size - 769] == 0x0C;
        const std::uint8_t* stored = vga ? data + size - 768 : nullptr;
        for (std::size_t i = 0; i < 256; ++i)
            palette[i] = vga ? Rgb{stored[3 * i], stored[3 * i + 1], stored[3 * i + 2]}
                             : Rgb{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)};
    }

    Image image;
    image.width = static_cast<int>(w);
    image.height = static_cast<int>(h);
    image.rgb.resize(static_cast<std::size_t>(w * h * 3));
    std::uint8_t* out = image.rgb.data();
    for (std::size_t y = 0; y < static_cast<std::size_t>(h); ++y) {
        const std::uint8_t* line = raw.data() + y * lineBytes;
        for (std::size_t x = 0; x < static_cast<std::size_t>(w); ++x, out += 3) {
            if (trueColour) {
                out[0] = line[x];
                out[1] = line[static_cast<std::size_t>(bpl) + x];
                out[2] = line[2 * static_cast<std::size_t>(bpl) + x];
                continue;
            }
            std::size_t colour = 0;
            if (planar) {
                for (std::size_t p = 0; p < static_cast<std::size_t>(planes); ++p)
                    colour |= static_cast<std::size_t>(
                                  (line[p * static_cast<std::size_t>(bpl) + x / 8] >> (7 - x % 8)) & 1)
                              << p;
            } else {
                const std::size_t perByte = 8 / static_cast<std::size_t>(bpp);
                const std::size_t shift = 8 - static_cast<std::size_t>(bpp) * (x % perByte + 1);
                colour = (line[x / perByte] >> shift) & ((1u << bpp) - 1);
            }
            std::memcpy(out, palette[colour].data(), 3);
        }
    }
    return image;
}

IndexedImage ReduceColours(const Image& picture)
{
    IndexedImage result;
    result.width = picture.width;
    result.height = picture.height;
    std::vector<Colour> colours = Histogram(picture);
    std::vector<Rgb> palette;
    if (colours.size() <= kLogoColours) {
        for (const Colour& c : colours)
            palette.push_back(c.rgb);
        const std::size_t pixels = picture.rgb.size() / 3;
        result.index.resize(pixels);
        for (std::size_t i = 0; i < pixels; ++i)
            result.index[i] = static_cast<std::uint8_t>(
                Nearest(picture.rgb[3 * i], picture.rgb[3 * i + 1], picture.rgb[3 * i + 2], palette));
    } else {
        for (const Box& box : MedianCut(colours, kLogoColours)) {
            double n = 0, sum[3] = {};
            for (std::size_t i = box.begin; i < box.end; ++i) {
                n += colours[i].count;
                for (int c = 0; c < 3; ++c)
                    sum[c] += double(colours[i].count) * colours[i].rgb[c];
            }
            palette.push_back({std::uint8_t(sum[0] / n + 0.5), std::uint8_t(sum[1] / n + 0.5),
                               std::uint8_t(sum[2] / n + 0.5)});
        }
        Refine(colours, palette);
        result.index = Diffuse(picture, palette);
    }
    std::copy(palette.begin(), palette.end(), result.palette.begin());
    return result;
}

std::string EncodeVersion2(const IndexedImage& picture)
{
    const int bytesPerLine = ((picture.width + 7) / 8 + 1) / 2 * 2;
    std::string out(kHeaderSize, '\0');
    out[0] = 10;
    out[1] = static_cast<char>(kLogoVersion);
    out[2] = 1; // run-length encoded
    out[3] = 1; // bits per pixel in each plane
    Put16(out, 8, picture.width - 1);
    Put16(out, 10, picture.height - 1);
    Put16(out, 12, 75); // dots per inch, as paint programs of the time wrote
    Put16(out, 14, 75);
    for (std::size_t i = 0; i < kLogoColours; ++i)
        for (std::size_t c = 0; c < 3; ++c)
            out[16 + 3 * i + c] = static_cast<char>(picture.palette[i][c]);
    out[65] = 4; // planes
    Put16(out, 66, bytesPerLine);
    Put16(out, 68, 1); // colour palette

    std::vector<std::uint8_t> plane(static_cast<std::size_t>(bytesPerLine));
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row =
            picture.index.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width);
        for (int p = 0; p < 4; ++p) {
            std::fill(plane.begin(), plane.end(), 0);
            for (int x = 0; x < picture.width; ++x)
                if ((row[x] >> p) & 1)
                    plane[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            for (std::size_t i = 0; i < plane.size();) {
                std::size_t run = 1;
                while (i + run < plane.size() && plane[i + run] == plane[i] && run < 63)
                    ++run;
                if (run > 1 || (plane[i] & 0xC0) == 0xC0)
                    out += static_cast<char>(0xC0 | run);
                out += static_cast<char>(plane[i]);
                i += run;
            }
        }
    }
    return out;
}

std::pair<int, int> LogoSize(int width, int height)
{
    if (width <= kMaxLogoSide && height <= kMaxLogoSide)
        return {width, height};
    const long long w = width, h = height, side = kMaxLogoSide;
    if (w >= h)
        return {kMaxLogoSide, static_cast<int>(std::max(1LL, (h * side + w / 2) / w))};
    return {static_cast<int>(std::max(1LL, (w * side + h / 2) / h)), kMaxLogoSide};
}

std::string DosLogoName(const std::string& pictureFileName)
{
    const std::size_t dot = pictureFileName.rfind('.');
    const std::string stem =
        pictureFileName.substr(0, dot == std::string::npos ? pictureFileName.size() : dot);
    static const std::string kept = "!#$%&'()-@^_`{}~";
    std::string base;
    for (const char ch : stem) {
        if (base.size() == 8)
            break;
        if (ch >= 'a' && ch <= 'z')
            base += static_cast<char>(ch - 'a' + 'A');
        else if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || kept.find(ch) != std::string::npos)
            base += ch;
    }
    return FinishDosName(base);
}

std::string NumberedDosName(const std::string& dosName, int number)
{
    const std::string digits = std::to_string(number);
    std::string base = dosName.substr(0, dosName.rfind('.'));
    if (base.size() + digits.size() > 8)
        base.resize(8 - std::min<std::size_t>(8, digits.size()));
    return FinishDosName(base + digits);
}

} // namespace vl::pcx
