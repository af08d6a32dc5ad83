#include "settings/RegistryKey.h"

RegistryKey::~RegistryKey()
{
    if (m_key)
        ::RegCloseKey(m_key);
}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept
{
    if (this != &other)
    {
        if (m_key)
            ::RegCloseKey(m_key);
        m_key = other.m_key;
        other.m_key = nullptr;
    }
    return *this;
}
