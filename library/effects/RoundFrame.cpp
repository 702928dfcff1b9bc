#include "library/effects/RoundFrame.h"

#include "platform/rtl/SysUtils.h"

namespace vesk {

void DrawRoundFrame(TRect rect, int radius, TCanvas& canvas, bool /*enabled*/, bool flat,
                    bool pressed, bool mouseOver, TCircleType leftBorder, TCircleType rightBorder) {
    const int r = radius;
    // The left end and the top edge, in one colour.
    auto DrawLeftTop = [&](TColor colour) {
        const auto [L, T, Rr, B] = rect;
        canvas.SetPenColor(colour);
        if (r == 0) {
            canvas.MoveTo(L, T);
            canvas.LineTo(L, B);
        } else if (leftBorder == ctRaised) {
            canvas.Arc(L, T, L + 2 * r, B, L + r, T, L + r, B);
        } else {
            canvas.Arc(L, T, L + 2 * r, B, L + r, B, L + r, T);
        }
        canvas.MoveTo(L + r, T);
        canvas.LineTo(Rr - r, T);
    };
    // The right end and the bottom edge, in one colour.
    auto DrawRightBottom = [&](TColor colour) {
        const auto [L, T, Rr, B] = rect;
        canvas.SetPenColor(colour);
        if (r == 0) {
            canvas.MoveTo(Rr, T);
            canvas.LineTo(Rr, B);
        } else if (rightBorder == ctRaised) {
            canvas.Arc(Rr - 2 * r, T, Rr, B, Rr - r, B, Rr - r, T);
        } else {
            canvas.Arc(Rr - 2 * r, T, Rr, B, Rr - r, T, Rr - r, B);
        }
        canvas.MoveTo(Rr - r, B);
        canvas.LineTo(L + r, B);
    };

    if (pressed && !flat) {
        DrawLeftTop(clBlack);
        DrawRightBottom(clWhite);
        InflateRect(rect, -1, -1);
        DrawLeftTop(clGray);
        DrawRightBottom(clSilver);
    } else if (pressed) {
        DrawLeftTop(clGray);
        DrawRightBottom(clWhite);
    } else if (!flat) {
        DrawLeftTop(clWhite);
        DrawRightBottom(clBlack);
        InflateRect(rect, -1, -1);
        DrawRightBottom(clGray);
    } else if (mouseOver) {
        DrawLeftTop(clWhite);
        DrawRightBottom(clGray);
    }
}

bool PointInClientRect(const TRect& rect, TPoint point) {
    return rect.Left <= point.X && point.X <= rect.Right && rect.Top <= point.Y &&
           point.Y <= rect.Bottom;
}

std::string_view CircleTypeName(TCircleType value) {
    return value == ctRaised ? "ctRaised" : "ctLowered";
}

TCircleType CircleTypeFromName(std::string_view name) {
    if (SameText(name, "ctRaised"))
        return ctRaised;
    if (SameText(name, "ctLowered"))
        return ctLowered;
    throw EConvertError("'" + std::string(name) + "' is not a circle type (ctLowered, ctRaised)");
}

const std::vector<TStoredDefault>& VeskSpeedButtonStoredDefaults() {
    static const std::vector<TStoredDefault> defaults{
        {"AllowAllUp", "False"},
        {"GroupIndex", "0"},
        {"Down", "False"},
        {"Caption", ""},
        {"Enabled", "True"},
        {"Flat", "False"},
        {"Font", ""},
        {"Glyph", ""},
        {"Layout", "blGlyphLeft"},
        {"Margin", "-1"},
        {"NumGlyphs", "1"},
        {"ParentFont", "True"},
        {"ParentShowHint", "True"},
        {"ShowHint", "False"},
        {"Spacing", "4"},
        {"Visible", "True"},
        {"Radius", ""},
        {"LeftBorder", ""},
        {"RightBorder", ""},
    };
    return defaults;
}

} // namespace vesk
