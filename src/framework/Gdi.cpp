#include "framework/Gdi.h"

#include "framework/Exceptions.h"

CGdiObject& CGdiObject::operator=(CGdiObject&& other) noexcept
{
    if (this != &other)
        Attach(other.Detach());
    return *this;
}

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

void CGdiObject::Attach(HGDIOBJ object)
{
    DeleteObject();
    m_hObject = object;
}

void CGdiObject::DeleteObject()
{
    if (m_hObject)
        ::DeleteObject(std::exchange(m_hObject, nullptr));
}

CBrush::CBrush(COLORREF colour) : CGdiObject(::CreateSolidBrush(colour))
{
    if (!m_hObject)
        throw CResourceException();
}

bool CPalette::CreatePalette(const LOGPALETTE* logPalette)
{
    Attach(::CreatePalette(logPalette));
    return m_hObject != nullptr;
}

CPaintDC::CPaintDC(HWND window) : m_hWnd(window), m_hDC(::BeginPaint(window, &m_ps))
{
    if (!m_hDC)
        throw CResourceException();
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(HWND window) : m_hWnd(window), m_hDC(::GetDC(window))
{
    if (!m_hDC)
        throw CResourceException();
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, m_hDC);
}

CInfoDC::CInfoDC(const char* driver) : m_hDC(::CreateICA(driver, nullptr, nullptr, nullptr))
{
    if (!m_hDC)
        throw CResourceException();
}

CInfoDC::~CInfoDC()
{
    ::DeleteDC(m_hDC);
}
