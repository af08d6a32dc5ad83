// What stored registry values mean to the settings: numbers only from four-byte REG_DWORDs, texts only
// from REG_SZ values of bounded size, ended by their first NUL or by their length.
#include "settings/RegistryValue.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
constexpr std::uint32_t kExpandText = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kMultiText = 7;
constexpr std::uint32_t kQword = 11;

std::optional<std::string> Text(std::uint32_t type, const std::string& bytes)
{
    // Exactly the value's bytes on the heap, so that a read past them is caught.
    const std::vector<char> data(bytes.begin(), bytes.end());
    return TextFromRegistryValue(type, data.data(), data.size());
}
} // namespace

TEST(RegistryValue, NumbersComeOnlyFromFourByteDwords)
{
    const unsigned char bytes[8] = {0x07, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(NumberFromRegistryValue(kRegistryNumber, bytes, 4), 0x00010007);
    const unsigned char negative[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(NumberFromRegistryValue(kRegistryNumber, negative, 4), -1);
    const unsigned char lowest[4] = {0x00, 0x00, 0x00, 0x80};
    EXPECT_EQ(NumberFromRegistryValue(kRegistryNumber, lowest, 4), INT32_MIN);
    const unsigned char zero[4] = {};
    EXPECT_EQ(NumberFromRegistryValue(kRegistryNumber, zero, 4), 0) << "a stored 0 is a value, not an absence";

    for (const std::size_t size : {0u, 1u, 2u, 3u, 5u, 8u})
        EXPECT_EQ(NumberFromRegistryValue(kRegistryNumber, bytes, size), std::nullopt) << size << " bytes";
    for (const std::uint32_t type : {0u, kRegistryText, kExpandText, kBinary, 5u, kMultiText, kQword})
        EXPECT_EQ(NumberFromRegistryValue(type, bytes, 4), std::nullopt) << "type " << type;
    EXPECT_EQ(NumberFromRegistryValue(kRegistryNumber, nullptr, 4), std::nullopt);
}

TEST(RegistryValue, TextsEndAtTheFirstNulOrTheirLength)
{
    EXPECT_EQ(Text(kRegistryText, std::string("C:\\Vexa\\Vexa.exe", 17)), "C:\\Vexa\\Vexa.exe");
    EXPECT_EQ(Text(kRegistryText, "C:\\Vexa\\Vexa.exe"), "C:\\Vexa\\Vexa.exe") << "no NUL stored";
    EXPECT_EQ(Text(kRegistryText, std::string("first\0second\0", 13)), "first");
    EXPECT_EQ(Text(kRegistryText, std::string(1, '\0')), "");
    EXPECT_EQ(Text(kRegistryText, ""), "");
    EXPECT_EQ(TextFromRegistryValue(kRegistryText, nullptr, 0), "");
    EXPECT_EQ(TextFromRegistryValue(kRegistryText, nullptr, 1), std::nullopt);
}

TEST(RegistryValue, TextsOfOtherTypesOrBeyondTheLimitAreRefused)
{
    for (const std::uint32_t type : {0u, kExpandText, kBinary, kRegistryNumber, kMultiText, kQword})
    {
        EXPECT_EQ(Text(type, std::string("text\0", 5)), std::nullopt) << "type " << type;
        EXPECT_FALSE(IsRegistryTextValue(type, 5));
    }
    const std::string longest(kMaxRegistryTextBytes, 'L');
    EXPECT_EQ(Text(kRegistryText, longest), longest);
    EXPECT_TRUE(IsRegistryTextValue(kRegistryText, kMaxRegistryTextBytes));
    EXPECT_EQ(Text(kRegistryText, longest + 'L'), std::nullopt);
    EXPECT_FALSE(IsRegistryTextValue(kRegistryText, kMaxRegistryTextBytes + 1));
    EXPECT_FALSE(IsRegistryTextValue(kRegistryText, std::size_t{1} << 20));
}
