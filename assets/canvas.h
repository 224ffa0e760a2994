// canvas.h: drawing surfaces of the generator, colours, text, noise and how pictures are saved.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb Hex(uint32_t rgb);
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double k);
void Source(cairo_t* cr, Rgb c, double alpha = 1.0);
void Stop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0);

// A cairo image surface with its context. Opaque canvases are saved as JPEG, ones with
// alpha as PNG. A canvas of factor a holds a x a pixels per picture unit and cairo draws on it
// in picture units, so one drawing makes the picture at every size.
class Canvas {
public:
    Canvas(int width, int height, bool alpha = false, int factor = 1);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return m_cr; }
    cairo_surface_t* surface() const { return m_surface; }
    int Width() const { return m_width; } // in pixels, as are Height, Row and the pixel calls
    int Height() const { return m_height; }
    int Factor() const { return m_factor; }
    // The picture coordinate that pixel p samples: at factor 1 the pixel's own number, at a
    // larger factor the same place of the picture.
    double At(int p) const { return (p + 0.5) / m_factor - 0.5; }
    // Back to drawing in picture units from the top left, after a picture moved the origin.
    void ResetMatrix();

    // Direct pixel access: Begin flushes, End tells cairo the pixels changed.
    uint32_t* Row(int y);
    void BeginPixels();
    void EndPixels();
    Rgb Pixel(int x, int y);
    void SetPixel(int x, int y, Rgb c);

    // Baseline JPEG; pictures with seams or fine text use a higher quality.
    bool SaveJpeg(const std::string& path, int quality = 90);
    bool SavePng(const std::string& path);

private:
    int m_width;
    int m_height;
    int m_factor;
    cairo_surface_t* m_surface;
    cairo_t* m_cr;
};

// Where a picture of factor a is written: dir/NAME.jpg at 1, dir/NAME@2x.jpg at 2 and so on.
std::string PictureFile(const std::string& dir, const std::string& name, int factor);

// Text with the DejaVu families through cairo's own font selection.
enum class Face { Sans, SansBold, SansCondensedBold, Serif, SerifBold, SerifItalic, MonoBold };
void Font(cairo_t* cr, Face face, double size);
double TextWidth(cairo_t* cr, const std::string& text);
// Centres the ink of the text on (cx, cy).
void TextCentered(cairo_t* cr, const std::string& text, double cx, double cy);
// Adds the text's outline at (x, baseline) to the path.
void TextPath(cairo_t* cr, const std::string& text, double x, double baseline);
// The game's name as a title: a drop shadow, then a light-to-teal gradient fill with a thin
// dark outline, centred on cx with its baseline at `baseline`.
void EmbossedTitle(cairo_t* cr, const std::string& text, double cx, double baseline, double size);
// Writes text word-wrapped into a column; returns the baseline after the last line.
double Paragraph(cairo_t* cr, const std::string& text, double x, double baseline, double width,
                 double lineHeight);

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
          double rotation);
// A soft round glow: colour at the centre fading to nothing at the radius.
void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb c, double alpha);

// Deterministic pseudo-random numbers (a 64-bit xorshift), independent of the library.
class Rng {
public:
    explicit Rng(uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next();
    double Uniform(); // [0, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

private:
    uint64_t m_state;
};

double Hash(int x, int y, uint32_t seed);                   // [0, 1)
double Noise(double x, double y, uint32_t seed);            // smooth value noise, [0, 1)
double Fbm(double x, double y, int octaves, uint32_t seed); // [0, 1) roughly
double Smooth(double e0, double e1, double x);              // smoothstep
double Clamp01(double x);

} // namespace art
