// The owner-drawn menu items: a light strip at the left edge that shades
// towards the highlight colour, a framed hot item, a tick for checked items.
#include "app/menu_look.h"

namespace {

constexpr int StripWidth = 20;
constexpr int TextLeft = 28;
constexpr int TextRightMargin = 8;

HFONT CreateMenuFont() {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return nullptr;
  }
  return CreateFontIndirectA(&metrics.lfMenuFont);
}

// The menu font is made once and kept for the life of the process.
HFONT MenuFont() {
  static HFONT font = CreateMenuFont();
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

COLORREF Blend(COLORREF a, COLORREF b, int numerator, int denominator) {
  auto mix = [&](int x, int y) { return x + (y - x) * numerator / denominator; };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
             mix(GetBValue(a), GetBValue(b)));
}

// The DC's own brush takes any colour: the strip's twenty shades need no
// brush object each, on every repaint of every item.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF oldColour = SetDCBrushColor(dc, colour);
  (void)FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  (void)SetDCBrushColor(dc, oldColour);
}

void DrawStrip(HDC dc, const RECT& item) {
  const COLORREF white = RGB(255, 255, 255);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  for (int x = 0; x < StripWidth; ++x) {
    // Shades from white to a third of the way towards the highlight colour.
    RECT column = {item.left + x, item.top, item.left + x + 1, item.bottom};
    FillSolid(dc, column, Blend(white, highlight, x, StripWidth * 3));
  }
}

void DrawTick(HDC dc, const RECT& item) {
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  const int middle = (item.top + item.bottom) / 2;
  const int left = item.left + 5;
  for (int thickness = 0; thickness < 2; ++thickness) {
    MoveToEx(dc, left, middle + thickness, nullptr);
    LineTo(dc, left + 3, middle + 3 + thickness);
    LineTo(dc, left + 10, middle - 4 + thickness);
  }
  SelectObject(dc, oldPen);
}

}  // namespace

void AppendOwnerDrawnItem(HMENU menu, UINT item, const char* text) {
  (void)AppendMenuA(menu, MF_OWNERDRAW, item, text);
}

bool MeasureMenuItem(HWND window, MEASUREITEMSTRUCT* measure) {
  if (measure->CtlType != ODT_MENU) return false;
  const char* text = reinterpret_cast<const char*>(measure->itemData);
  if (!text) text = "";
  HDC dc = GetDC(window);
  HGDIOBJ oldFont = SelectObject(dc, MenuFont());
  SIZE size = {};
  (void)GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  SelectObject(dc, oldFont);
  ReleaseDC(window, dc);
  measure->itemWidth = size.cx + TextLeft;
  measure->itemHeight = size.cy + 6;
  return true;
}

bool DrawMenuItem(const DRAWITEMSTRUCT* draw) {
  if (draw->CtlType != ODT_MENU) return false;
  HDC dc = draw->hDC;
  const RECT& item = draw->rcItem;
  const bool hot = draw->itemState & ODS_SELECTED;
  const bool disabled = draw->itemState & (ODS_GRAYED | ODS_DISABLED);

  FillSolid(dc, item, GetSysColor(COLOR_MENU));
  DrawStrip(dc, item);
  if (hot) {
    FillSolid(dc, item, Blend(GetSysColor(COLOR_HIGHLIGHT), RGB(255, 255, 255), 1, 2));
    FrameRect(dc, &item, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  if (draw->itemState & ODS_CHECKED) DrawTick(dc, item);

  COLORREF textColour = GetSysColor(COLOR_MENUTEXT);
  if (disabled) textColour = GetSysColor(COLOR_GRAYTEXT);
  else if (hot) textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
  const char* text = reinterpret_cast<const char*>(draw->itemData);
  RECT textRect = {item.left + TextLeft, item.top, item.right - TextRightMargin, item.bottom};
  HGDIOBJ oldFont = SelectObject(dc, MenuFont());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, textColour);
  DrawTextA(dc, text ? text : "", -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
  return true;
}
