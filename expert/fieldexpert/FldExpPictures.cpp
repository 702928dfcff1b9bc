#include "expert/fieldexpert/FldExpPictures.h"

namespace vesk {

namespace {

constexpr TColor Paper = clFuchsia;

void Fill(TCanvas& canvas, const TRect& rect, TColor colour) {
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.SetBrushColor(colour);
    canvas.FillRect(rect);
}

// A raised or sunken box with the classic two-tone edge.
void Box(TCanvas& canvas, const TRect& r, TColor face, bool sunken) {
    Fill(canvas, r, face);
    Frame3D(canvas, r, sunken ? clGray : clWhite, sunken ? clWhite : clGray);
}

// A small form window: title bar, face, and room for rows below Top + 12.
TRect FormWindow(TCanvas& canvas, const TRect& r) {
    Box(canvas, r, clSilver, false);
    Fill(canvas, Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Top + 10), clNavy);
    Fill(canvas, Rect(r.Right - 9, r.Top + 3, r.Right - 3, r.Top + 9), clSilver);
    return Rect(r.Left + 4, r.Top + 13, r.Right - 4, r.Bottom - 3);
}

// A caption as a short dark bar, an editor as a sunken white box.
void Caption(TCanvas& canvas, int x, int y, int width) {
    Fill(canvas, Rect(x, y + 1, x + width, y + 3), clBlack);
}
void Editor(TCanvas& canvas, int x, int y, int width) {
    Box(canvas, Rect(x, y, x + width, y + 8), clWhite, true);
}

void Table(TCanvas& canvas, int x, int y) {
    // A database drum: a band of rows between two rims.
    canvas.SetPenColor(RGB(30, 60, 110));
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.SetBrushColor(RGB(90, 150, 210));
    canvas.Polygon({{x, y + 4}, {x + 30, y + 4}, {x + 30, y + 36}, {x, y + 36}});
    canvas.SetBrushColor(RGB(150, 200, 240));
    canvas.Polygon(
        {{x + 3, y}, {x + 27, y}, {x + 30, y + 4}, {x + 27, y + 8}, {x + 3, y + 8}, {x, y + 4}});
    canvas.SetPenColor(RGB(40, 80, 140));
    for (int row = y + 14; row < y + 36; row += 7) {
        canvas.MoveTo(x + 1, row);
        canvas.LineTo(x + 30, row);
    }
}

void Arrow(TCanvas& canvas, int x, int y, int length, TColor colour) {
    canvas.SetPenColor(colour);
    canvas.SetBrushColor(colour);
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.Polygon({{x, y - 2},
                    {x + length - 6, y - 2},
                    {x + length - 6, y - 5},
                    {x + length, y},
                    {x + length - 6, y + 5},
                    {x + length - 6, y + 2},
                    {x, y + 2}});
}

} // namespace

void DrawWizardPicture(TCanvas& canvas, int page) {
    Fill(canvas, Rect(0, 0, WizardPictureWidth, WizardPictureHeight), Paper);
    switch (page) {
    case 0: {
        Table(canvas, 4, 22);
        Arrow(canvas, 38, 42, 18, RGB(0, 128, 0));
        const TRect rows = FormWindow(canvas, Rect(58, 14, 105, 74));
        for (int k = 0; k < 3; ++k)
            Editor(canvas, rows.Left + 2, rows.Top + 2 + 14 * k, 30);
        break;
    }
    case 1: {
        const TRect rows = FormWindow(canvas, Rect(2, 6, 104, 86));
        for (int k = 0; k < 4; ++k) {
            const int y = rows.Top + 3 + 16 * k;
            Caption(canvas, rows.Left + 2, y, 18);
            if (k < 3)
                Editor(canvas, rows.Left + 24, y - 2, 40 + 10 * (k % 2));
        }
        Arrow(canvas, 64, rows.Top + 51, 26, RGB(0, 128, 0));
        break;
    }
    default: {
        const TRect up = FormWindow(canvas, Rect(2, 2, 56, 88));
        for (int k = 0; k < 3; ++k) {
            Caption(canvas, up.Left + 2, up.Top + 2 + 24 * k, 20);
            Editor(canvas, up.Left + 2, up.Top + 8 + 24 * k, 38);
        }
        const TRect left = FormWindow(canvas, Rect(58, 20, 105, 80));
        for (int k = 0; k < 3; ++k) {
            Caption(canvas, left.Left + 2, left.Top + 4 + 14 * k, 12);
            Editor(canvas, left.Left + 16, left.Top + 2 + 14 * k, 20);
        }
        break;
    }
    }
}

void DrawPointer(TCanvas& canvas) {
    Fill(canvas, Rect(0, 0, PointerWidth, PointerHeight), Paper);
    canvas.SetPenColor(RGB(120, 60, 0));
    canvas.SetBrushColor(RGB(250, 200, 60));
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.Polygon({{1, 9}, {8, 9}, {8, 4}, {15, 13}, {8, 22}, {8, 17}, {1, 17}});
}

void DrawGlyph(TCanvas& canvas, TWizardGlyph glyph) {
    Fill(canvas, Rect(0, 0, GlyphSize, GlyphSize), Paper);
    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    switch (glyph) {
    case TWizardGlyph::Back:
        canvas.SetPenColor(clNavy);
        canvas.SetBrushColor(clBlue);
        canvas.Polygon({{2, 8}, {8, 2}, {8, 5}, {14, 5}, {14, 11}, {8, 11}, {8, 14}});
        break;
    case TWizardGlyph::Next:
        canvas.SetPenColor(clNavy);
        canvas.SetBrushColor(clBlue);
        canvas.Polygon({{14, 8}, {8, 2}, {8, 5}, {2, 5}, {2, 11}, {8, 11}, {8, 14}});
        break;
    case TWizardGlyph::Cancel:
        canvas.SetPenColor(clMaroon);
        canvas.SetBrushColor(clRed);
        canvas.Polygon({{2, 4},
                        {4, 2},
                        {8, 6},
                        {12, 2},
                        {14, 4},
                        {10, 8},
                        {14, 12},
                        {12, 14},
                        {8, 10},
                        {4, 14},
                        {2, 12},
                        {6, 8}});
        break;
    case TWizardGlyph::Create:
        canvas.SetPenColor(RGB(0, 80, 0));
        canvas.SetBrushColor(clGreen);
        canvas.Polygon({{1, 8}, {4, 5}, {6, 8}, {12, 1}, {15, 4}, {6, 14}});
        break;
    }
}

} // namespace vesk
