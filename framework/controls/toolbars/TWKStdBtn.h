// The standard toolbar button (not a window: a small object its toolbar
// places, paints and feeds with mouse input), the class records through which
// button maps name button classes, the shared off-screen drawing context and
// the dither brush of checked and disabled buttons.
#pragma once
#include "afx/afx.h"

class TWKCustomToolBar;
class TWKStdBtn;

// Style and state bits; the first nine keep the platform toolbar's meanings.
#ifndef TBBS_SEPARATOR
#define TBBS_SEPARATOR          0x00000001L
#endif
#ifndef TBBS_CHECKBOX
#define TBBS_CHECKBOX           0x00000002L
#endif
#ifndef TBBS_CHECKED
#define TBBS_CHECKED            0x00010000L
#endif
#ifndef TBBS_PRESSED
#define TBBS_PRESSED            0x00020000L
#endif
#ifndef TBBS_DISABLED
#define TBBS_DISABLED           0x00040000L
#endif
#ifndef TBBS_HIDDEN
#define TBBS_HIDDEN             0x00080000L
#endif
#ifndef TBBS_INDETERMINATE
#define TBBS_INDETERMINATE      0x00100000L
#endif
#ifndef TBBS_WRAPPED
#define TBBS_WRAPPED            0x00200000L
#endif
// TBSTYLE_DROPDOWN (0x0008) comes from the common controls.
#define TWK_TBBS_SELECTED       0x01000000L   // selected for customisation
#define TWK_TBBS_RAISED         0x02000000L   // hot in the cool look; the selected menu button
#define TWK_TBBS_ARROWPRESSED   0x04000000L   // split button: the arrow part is pressed
#define TWK_TBBS_ARROWTRACKING  0x08000000L   // split button: the press began on the arrow
#define TWK_TBBS_NOAUTODISABLE  0x10000000L   // never disabled for want of a handler
#define TWK_TBBS_VCENTER        0x20000000L   // centred vertically in its row

// Button types, set by each class's constructor.
enum
{
    TWK_BTN_STD = 0,
    TWK_BTN_TWOPART = 1,
    TWK_BTN_WND = 2,
    TWK_BTN_TBMENU = 3,
    TWK_BTN_CAPMENU = 4,
    TWK_BTN_CAPTION = 5,
    TWK_BTN_COMBO = 6,
};

// Notification codes sent through buttons (besides TBN_DROPDOWN).
#define TWK_TBN_DROPMENU    (-2120)
#define TWK_TBN_CLOSEMENU   (-2121)
#define TWK_TBN_MENUSELECT  (-2122)
#define TWK_TBN_MENUEXIT    (-2123)

// OnBtnNotify code: pData points to two DWORDs {bits to set, bits to clear}.
#define TWK_BTNNOTIFY_STYLE 1

// A button class as a button map names it: the function that makes a new
// button of the class (returning its button part).
struct TWKBtnClass
{
    TWKStdBtn* (*m_pfnCreateBtn)();

    // NULL when the create function threw.
    TWKStdBtn* CreateBtn() const;
};

#define BUTTON_CLASS(class_name) (&class_name::btnClass##class_name)

// In the class of every concrete button class, and once in its source file.
#define DECLARE_BUTTON_CLASS(class_name)                               \
public:                                                                \
    static const TWKBtnClass btnClass##class_name;                     \
    static TWKStdBtn* CreateBtnObject();                               \
    const TWKBtnClass* GetBtnClass() const override;

#define IMPLEMENT_BUTTON_CLASS(class_name)                             \
    TWKStdBtn* class_name::CreateBtnObject() { return new class_name; } \
    const TWKBtnClass class_name::btnClass##class_name = { &class_name::CreateBtnObject }; \
    const TWKBtnClass* class_name::GetBtnClass() const { return BUTTON_CLASS(class_name); }

// One entry of a button map; a map ends with an entry whose class is NULL.
// Eight 32-bit values on 32-bit Windows; the parameters are pointer-sized so
// that menu handles and texts survive on 64-bit Windows.
struct TWKBtnMapEntry
{
    const TWKBtnClass* pClass;
    UINT nID;
    DWORD dwStyle;
    UINT_PTR params[5];
};
#ifndef _WIN64
static_assert(sizeof(TWKBtnMapEntry) == 32, "a button-map entry is eight 32-bit values");
#endif

// The entry of a button map for a command (the last one when several name
// it); NULL without a map or an entry.
const TWKBtnMapEntry* TWKFindBtnMapEntry(const void* pMap, UINT nID);

// A pattern brush of button face and highlight pixels in a checkerboard;
// NULL when it cannot be made.
HBRUSH TWKCreateDitherBrush();

// The context in which buttons are composed off screen before one copy to
// the toolbar. Shared by all toolbars of a manager.
class TWKBtnDrawData
{
public:
    // Throws the resource exception when a DC or the brush cannot be made.
    TWKBtnDrawData();
    ~TWKBtnDrawData();
    TWKBtnDrawData(const TWKBtnDrawData&) = delete;
    TWKBtnDrawData& operator=(const TWKBtnDrawData&) = delete;

    CDC m_dcMask;                     // holds a monochrome mask while a toolbar paints
    CDC m_dcImage;                    // the current button's image bitmap
    CDC m_dcCompose;                  // one button, composed at (0, 0)
    CBrush m_brDither;
    CBitmap m_bmCompose;
    HBITMAP m_hOldCompose = nullptr;
    CBitmap m_bmMask;
    HBITMAP m_hOldMask = nullptr;
    HBITMAP m_hOldImage = nullptr;    // the image DC's initial bitmap, once remembered
    HBITMAP m_hCurImage = nullptr;    // now selected into the image DC

    // Selects an image bitmap; NULL only forgets the current one.
    void SelectImage(HBITMAP hBitmap);
    // Makes and selects the compose and mask bitmaps (cxMax wide, the bar's
    // button height high); FALSE, with nothing left made, on failure.
    BOOL BeginPaint(CDC* pDC, int cxMax, TWKCustomToolBar* pBar);
    void EndPaint();
    // After a system colour change; nothing without a brush.
    void ResetDitherBrush();
};

class TWKStdBtn
{
public:
    TWKStdBtn();

    UINT m_nID = 0;                   // 0 for a separator
    int m_nImage = 0;                 // index of the image in its strip
    DWORD m_dwStyle = 0;
    int m_x = 0;                      // top-left corner in the toolbar's client area
    int m_y = 0;
    int m_cx = 23;
    int m_cy = 22;
    int m_nType = TWK_BTN_STD;
    TWKCustomToolBar* m_pToolBar = nullptr;

    static const TWKBtnClass btnClassTWKStdBtn;
    static TWKStdBtn* CreateBtnObject();

    virtual void SetMode(BOOL bVertical) {}
    virtual void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    virtual DWORD GetStyle() const { return m_dwStyle; }
    virtual BOOL HasStyle(DWORD dwMask) const { return (m_dwStyle & dwMask) == dwMask; }
    virtual void SetPos(int x, int y) { m_x = x; m_y = y; }
    virtual void Invalidate(BOOL bErase);
    // pParams: the five parameters of a button-map entry.
    virtual void Init(TWKCustomToolBar* pToolBar, const UINT_PTR* pParams);
    virtual BOOL CanDrag() { return TRUE; }
    virtual void Paint(CDC* pDC, TWKBtnDrawData& data);
    // TRUE when the toolbar is to track the press.
    virtual BOOL LButtonDown(int px, int py);
    virtual void MouseMove(int px, int py);
    virtual void CancelMode();
    // The command to send, 0 for none.
    virtual UINT LButtonUp(int px, int py);
    virtual void OnHiddenChanged() {}
    virtual void OnBarStyleChange(DWORD dwNewStyle) {}
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;
    virtual void OnBtnNotify(UINT nCode, void* pData);
    virtual void AdjustSize();
    virtual void GetBtnInfo(BYTE* pnSize, BYTE** ppData) {}
    virtual void SetBtnInfo(BYTE nSize, const BYTE* pData) {}
    virtual LRESULT SendNotify(int nCode, int a, int b);
    virtual void DrawFace(TWKBtnDrawData& data, BOOL bNoState, int& x, int& y, int& cx, int& cy, int nImageWidth);
    virtual void DrawDisabled(TWKBtnDrawData& data, int x, int y, int cx, int cy);
    virtual void DrawChecked(TWKBtnDrawData& data, int x, int y, int cx, int cy);
    virtual void DrawIndeterminate(TWKBtnDrawData& data, int x, int y, int cx, int cy);
    virtual void DrawSelectedFrame(TWKBtnDrawData& data);
    // FALSE when the command has no image: the draw data then holds no
    // current image and the face is drawn without one.
    virtual BOOL PrepareImage(TWKBtnDrawData& data);
    virtual BOOL DrawSeparator(CDC* pDC);
    virtual void DrawButton(TWKBtnDrawData& data);
    virtual void BlitImage(int x, int y, int cx, int cy, TWKBtnDrawData& data, int xSrc, int ySrc);
    virtual void DrawTransparent(CDC* pDC, TWKBtnDrawData& data);
    virtual void DrawSelection(TWKBtnDrawData& data);
    virtual void BlitToDC(CDC* pDC, TWKBtnDrawData& data);
    virtual ~TWKStdBtn() = default;
    virtual const TWKBtnClass* GetBtnClass() const;

    void SetToolBar(TWKCustomToolBar* pToolBar);
    void GetRect(LPRECT lpRect) const;

protected:
    // The mask of the composed rectangle: 1 where it shows face or highlight.
    void MakeMask(TWKBtnDrawData& data, int x, int y, int cx, int cy);
    // The mask onto the composed rectangle (moved by nOffset) through a brush.
    void BlitMask(TWKBtnDrawData& data, HGDIOBJ hBrush, DWORD dwRop, int x, int y, int cx, int cy, int nOffset = 0);
    BOOL PtInButton(int px, int py) const;
    // Shows the button down by dwPressed while TBN_DROPDOWN goes to the owner.
    void DropDown(DWORD dwPressed);
    // The face in a rectangle of the compose DC, then the state drawing that
    // applies (none in configuration mode or while pressed).
    void DrawFaceAndState(TWKBtnDrawData& data, int x, int y, int cx, int cy, int nImageWidth);
};

// The block SendNotify sends: the platform's toolbar notification as it was
// before it grew a button rectangle (iItem the button's command, the rest
// zero), then the framework's own values.
struct TWKTBNotify
{
    NMHDR hdr;
    int iItem;
    TBBUTTON tbButton;
    int cchText;
    LPSTR pszText;
    int nIndex;         // the button's index in its toolbar
    int a;
    int b;
    int nReserved;
};
static_assert(offsetof(TWKTBNotify, iItem) == offsetof(NMTOOLBARA, iItem)
              && offsetof(TWKTBNotify, pszText) == offsetof(NMTOOLBARA, pszText),
              "the block starts as the platform's toolbar notification");
#ifndef _WIN64
static_assert(offsetof(TWKTBNotify, nIndex) == 44 && sizeof(TWKTBNotify) == 60, "the notification block is 60 bytes");
#endif
