#include "about/AboutTexts.h"

#include "framework/ErrorText.h"

namespace
{
std::string_view ValueOrEmpty(const char* value)
{
    return value ? std::string_view(value) : std::string_view();
}
} // namespace

AboutTexts AboutTexts::Build(std::string_view descriptionPattern, const char* productName, const char* productVersion,
                             const char* legalCopyright, const char* fileDescription)
{
    AboutTexts texts;
    // The pattern's second line is left empty on purpose: the control has room for two.
    texts.m_description = FormatNumbered(descriptionPattern, {ValueOrEmpty(fileDescription), ""});
    texts.m_product = std::string(ValueOrEmpty(productName)) + " v" + std::string(ValueOrEmpty(productVersion));
    texts.m_notice = std::string(ValueOrEmpty(legalCopyright)) + "\nAll rights reserved";
    return texts;
}

std::string FormatCaption(std::string_view pattern, std::string_view appName)
{
    std::string caption;
    caption.reserve(pattern.size() + appName.size());
    for (std::size_t i = 0; i < pattern.size(); ++i)
    {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next == 's')
        {
            caption += appName;
            ++i;
        }
        else if (pattern[i] == '%' && next == '%')
        {
            caption += '%';
            ++i;
        }
        else
        {
            caption += pattern[i];
        }
    }
    return caption;
}
