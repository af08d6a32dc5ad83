// The About box's three texts, built from the version record's values, and the dialogs' captions.
#pragma once

#include <string>
#include <string_view>

struct AboutTexts
{
    // The values as the version record gives them; a missing one (null) counts as empty.
    static AboutTexts Build(std::string_view descriptionPattern, const char* productName, const char* productVersion,
                            const char* legalCopyright, const char* fileDescription);

    std::string m_description;
    std::string m_product;
    std::string m_notice;
};

// A caption template with "%s" standing for the application name ("%%" for a percent sign). Only
// these two are formats: any other percent sign is shown as it is.
std::string FormatCaption(std::string_view pattern, std::string_view appName);
