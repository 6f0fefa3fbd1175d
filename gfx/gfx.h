// The graphics layer: off-screen images of 32-bit 0xAARRGGBB pixels, their
// drawing state, drawing primitives, blends, text and pictures. Both programs
// draw their whole interface through these calls on the main thread.
//
// Every drawing call takes an optional image as its last argument; nullptr
// means the current target (the screen page unless set_target named another).
// Rasterised primitives (lines, rectangles, circles, flood fill, text) write
// red, green and blue with alpha 0; pixel writes (put_pixel, clear_image,
// set_bk_color, blends, loaded pictures) keep all 32 bits. Callers rely on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/rect.h"

namespace gfx {

using Color = uint32_t;

constexpr uint32_t kImageMark = 0x20100916;
constexpr uint32_t kSrcCopy = 0xCC0020;

// Status codes of picture loading and saving.
constexpr int kOk = 0;
constexpr int kPictureError = -12;
constexpr int kEmptyRect = 18;

enum BkMode : int { kTransparent = 1, kOpaque = 2 };

enum LineStyle : int {
    kSolidLine = 0,
    kDashedLine = 1,
    kDottedLine = 2,
    kDashDotLine = 3,
    kDashDotDotLine = 4,
    kNullLine = 5,
    kUserLine = 7,
};

enum TextAlignH : int { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
enum TextAlignV : int { kAlignTop = 0, kAlignMiddle = 1, kAlignBottom = 2 };

// The 60-byte font record, laid out as programs have always held it.
struct FontRecord {
    int32_t height;  // > 0 cell height, < 0 character height (cell less internal leading)
    int32_t width;   // 0 natural
    int32_t escapement;
    int32_t orientation;
    int32_t weight;  // 0 normal, 700 bold
    uint8_t italic;
    uint8_t underline;
    uint8_t strike_out;
    uint8_t char_set;
    uint8_t out_precision;
    uint8_t clip_precision;
    uint8_t quality;
    uint8_t pitch_and_family;
    char face[32];  // GBK, zero-terminated
};
static_assert(sizeof(FontRecord) == 60);
static_assert(offsetof(FontRecord, weight) == 16);
static_assert(offsetof(FontRecord, italic) == 20);
static_assert(offsetof(FontRecord, face) == 28);

// Where drawing on an image lands: coordinates are relative to the area's
// corner, and with `clip` nothing is drawn outside it.
struct Viewport {
    Rect area;
    bool clip;
};

struct FontFace;  // a resolved, cached face at one pixel size (text.cpp)

struct DrawState {
    Color line_color = 0xFFA8A8A8;  // also the text colour
    Color fill_color = 0;
    int fill_pattern = 1;  // 1 solid
    Color bk_color = 0xFF000000;
    Color text_bk_color = 0xFF000000;
    int bk_mode = kOpaque;
    int line_style = kSolidLine;
    uint16_t line_pattern = 0xFFFF;
    int line_thickness = 1;
    int align_h = kAlignLeft;
    int align_v = kAlignTop;
    FontRecord font{};
    FontFace* face = nullptr;  // resolved lazily from `font`
    Viewport viewport{};
};

struct IMAGE {
    uint32_t mark = 0;  // kImageMark while the image is valid
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // width * height words, row-major, no gaps
    DrawState state;
};

// ---- Images ---------------------------------------------------------------

IMAGE* new_image(int width = 1, int height = 1);
void delete_image(IMAGE* image);
int image_width(const IMAGE* image = nullptr);
int image_height(const IMAGE* image = nullptr);
void resize(IMAGE* image, int width, int height);

void set_target(IMAGE* image = nullptr);
IMAGE* current_target();
// The screen page is owned by the window layer; it registers it here.
IMAGE* screen_page();
void set_screen_page(IMAGE* page);
// Set whenever something is drawn on the screen page; the window layer
// clears it when it presents.
bool screen_dirty();
void clear_screen_dirty();

// Picture from a file: PNG (with alpha) first, else JPEG, BMP, GIF. 0 or -12.
int getimage(IMAGE* image, const char* path, int zoom_w = 0, int zoom_h = 0);
// Picture from a resource compiled into the program. 0 or -12.
int getimage(IMAGE* image, const char* resource_type, const char* resource_name, int zoom_w = 0,
             int zoom_h = 0);
// Copy of a rectangle of the current target (plain copy).
int getimage(IMAGE* image, int x, int y, int width, int height);
// Picture from bytes in memory (same decoder choice as files).
int getimage_bytes(IMAGE* image, const uint8_t* data, size_t size);

// Uncompressed 24-bit BMP. 0 or -12.
int save_image(const IMAGE* image, const char* path);
// Baseline JPEG at quality 1..100. 0 or -12.
int save_jpeg(const IMAGE* image, const char* path, int quality);
// PNG keeping the alpha byte of every pixel. 0 or -12.
int save_png(const IMAGE* image, const char* path);

// ---- Compiled-in resources ("IMGS") -----------------------------------------

struct Resource {
    const char* type;  // "IMGS"
    const char* name;  // e.g. "BLACK_AUTOMENU_PIN"
    const uint8_t* data;
    size_t size;
};
// Programs register their table once at start; lookups are by exact name.
void set_resource_table(const Resource* entries, size_t count);
const Resource* find_resource(const char* type, const char* name);
// The first resource of `type` in the table registered last that has one,
// or null: the program's first "ICON" is the one its windows carry.
const Resource* first_resource(const char* type);

// ---- Copies and blends -----------------------------------------------------

void putimage(int x, int y, const IMAGE* source, uint32_t raster_op = kSrcCopy,
              IMAGE* target = nullptr);
void putimage(int x, int y, int width, int height, const IMAGE* source, int source_x, int source_y,
              int source_width, int source_height, uint32_t raster_op = kSrcCopy,
              IMAGE* target = nullptr);
// A null target means the current target. width/height 0 means the whole source.
void putimage_alphablend(IMAGE* target, const IMAGE* source, int x, int y, int alpha,
                         int source_x = 0, int source_y = 0, int width = 0, int height = 0);
void putimage_keyed_alphablend(IMAGE* target, const IMAGE* source, int x, int y, Color key,
                               int alpha, int source_x = 0, int source_y = 0, int width = 0,
                               int height = 0);
void putimage_srcalpha(IMAGE* target, const IMAGE* source, int x, int y, int source_x = 0,
                       int source_y = 0, int width = 0, int height = 0);

// 0, or 18 when the rectangle is empty.
int imagefilter_blurring(IMAGE* image, int intensity, int alpha, int x = 0, int y = 0,
                         int width = 0, int height = 0);

void put_pixel(int x, int y, Color color, IMAGE* image = nullptr);
Color get_pixel(int x, int y, const IMAGE* image = nullptr);
void clear_image(IMAGE* image = nullptr);

// ---- Drawing state and primitives -------------------------------------------

void set_color(Color color, IMAGE* image = nullptr);
void set_fill_color(Color color, IMAGE* image = nullptr);
void set_fill_style(int pattern, Color color, IMAGE* image = nullptr);
void set_bk_color(Color color, IMAGE* image = nullptr);
void set_text_bk_color(Color color, IMAGE* image = nullptr);
void set_bk_mode(int mode, IMAGE* image = nullptr);
void set_line_style(int style, uint16_t pattern, int thickness, IMAGE* image = nullptr);
void set_viewport(int left, int top, int right, int bottom, int clip, IMAGE* image = nullptr);
void set_text_align(int horizontal, int vertical, IMAGE* image = nullptr);

void draw_line(int x1, int y1, int x2, int y2, IMAGE* image = nullptr);
void draw_rectangle(int left, int top, int right, int bottom, IMAGE* image = nullptr);
void fill_bar(int left, int top, int right, int bottom, IMAGE* image = nullptr);
void draw_circle(int x, int y, int radius, IMAGE* image = nullptr);
void flood_fill(int x, int y, Color border_color, IMAGE* image = nullptr);

// ---- Text (GBK byte strings) ------------------------------------------------

void set_font(int height, int width, const char* face, IMAGE* image = nullptr);
void get_font_record(FontRecord* record, const IMAGE* image = nullptr);
void set_font_record(const FontRecord* record, IMAGE* image = nullptr);
void text_out(int x, int y, const char* text, IMAGE* image = nullptr);
int text_width(const char* text, IMAGE* image = nullptr);
int text_height(const char* text, IMAGE* image = nullptr);

// ---- Random numbers (MT19937) ------------------------------------------------

uint32_t random_u32(uint32_t n = 0);
double random_unit();
// The generator starts from an unpredictable seed; tests fix it here.
void random_seed(uint32_t seed);

// ---- Fatal paths -------------------------------------------------------------

// The window layer installs a message box; without one the text goes to
// standard error. Both paths end the process with exit status -11.
using FatalBoxHook = void (*)(const char* caption, const char* text);
void set_fatal_box_hook(FatalBoxHook hook);
[[noreturn]] void fatal_bad_image(const void* image, const char* method);
[[noreturn]] void fatal_internal(const char* text);

}  // namespace gfx
