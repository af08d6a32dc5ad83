// Owners of GDI objects and device contexts: move-only, each releasing its handle exactly once.
#pragma once

#include <windows.h>

#include <utility>

class CWnd;

// Owns a GDI object and deletes it, unless detached.
class CGdiObject
{
  public:
    CGdiObject() = default;
    explicit CGdiObject(HGDIOBJ object) : m_hObject(object) {}
    CGdiObject(CGdiObject&& other) noexcept : m_hObject(std::exchange(other.m_hObject, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject();

    void Attach(HGDIOBJ object);
    HGDIOBJ Detach() { return std::exchange(m_hObject, nullptr); }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    void DeleteObject();

  protected:
    HGDIOBJ m_hObject = nullptr;
};

class CBrush : public CGdiObject
{
  public:
    // A solid brush; throws CResourceException when none can be made.
    explicit CBrush(COLORREF colour);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CPalette : public CGdiObject
{
  public:
    // Attaches a palette made from the logical palette; false when none was made.
    bool CreatePalette(const LOGPALETTE* logPalette);
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
};

// BeginPaint/EndPaint of a window.
class CPaintDC
{
  public:
    explicit CPaintDC(HWND window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_hDC; }

    PAINTSTRUCT m_ps{};

  private:
    HWND m_hWnd;
    HDC m_hDC;
};

// GetDC/ReleaseDC of a window, or of the whole screen for a null window; throws CResourceException
// when no context can be had.
class CClientDC
{
  public:
    explicit CClientDC(HWND window);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_hDC; }

  private:
    HWND m_hWnd;
    HDC m_hDC;
};

// CreateIC/DeleteDC: an information context of a display driver; throws CResourceException when
// none can be had.
class CInfoDC
{
  public:
    explicit CInfoDC(const char* driver);
    ~CInfoDC();
    CInfoDC(const CInfoDC&) = delete;
    CInfoDC& operator=(const CInfoDC&) = delete;
    operator HDC() const { return m_hDC; }

  private:
    HDC m_hDC;
};
