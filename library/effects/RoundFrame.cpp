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

TClassInfo& DescribeVeskSpeedButton() {
    TClassRegistry& registry = TClassRegistry::Instance();
    if (const TClassInfo* known = registry.Find("TVeskSpeedButton"))
        return const_cast<TClassInfo&>(*known);
    const std::vector<std::string> circles{"ctLowered", "ctRaised"};
    return registry.Register("TVeskSpeedButton", "TSpeedButton")
        .Add(IntProp("Radius"))
        .Add(EnumProp("LeftBorder", "TCircleType", circles, std::nullopt))
        .Add(EnumProp("RightBorder", "TCircleType", circles, std::nullopt));
}

} // namespace vesk
