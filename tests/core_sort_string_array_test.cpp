#include "CodeUnitOrder.h"
#include "TextCodec.h"
#include "Literal.h"
#include "CommandRun.h"
#include "TextGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>

using wordloom::Outcome;
namespace reference = wordloom::reference;
namespace wt = wordloom::testing;
using wordloom::testing::TextGenerator;

namespace {

// Ascending binary (UTF-16 code unit) order, equal strings in their order:
// the list sorted by the product's stable code-unit order.
void SortStringArray(QStringList &list)
{
    const std::vector<QStringView> views(list.cbegin(), list.cend());
    QStringList sorted;
    for (const std::uint32_t index : wordloom::stableCodeUnitOrder(views))
        sorted.append(list[qsizetype(index)]);
    list = sorted;
}

QStringList sorted(QStringList list)
{
    SortStringArray(list);
    return list;
}

TEST(SortStringArray, BinaryOrderCases)
{
    EXPECT_EQ(sorted({"b", "", "B", "a", "b "}), (QStringList{"", "B", "a", "b", "b "}));
    EXPECT_EQ(sorted({"10", "9", "1"}), (QStringList{"1", "10", "9"}));
    EXPECT_EQ(sorted({"x", "y", "x"}), (QStringList{"x", "x", "y"}));
    EXPECT_EQ(sorted({"a", " b"}), (QStringList{" b", "a"}));
    EXPECT_EQ(sorted({"apple", "Zebra"}), (QStringList{"Zebra", "apple"}));
    EXPECT_EQ(sorted({"only"}), QStringList{"only"});
    EXPECT_EQ(sorted({}), QStringList{});
}

TEST(SortStringArray, OrdersSurrogatesByCodeUnitNotCodePoint)
{
    const QString pair = QString::fromUtf16(u"\U0001F600"); // D83D DE00
    const QString privateUse(QChar(0xE000));
    const QString top(QChar(0xFFFF));
    EXPECT_EQ(sorted({top, privateUse, pair}), (QStringList{pair, privateUse, top}));
    EXPECT_LT(wordloom::compareCodeUnits(pair, privateUse), 0);
    // A NUL unit still makes the longer string greater.
    const QString withNul = QStringLiteral("a") + QChar(0);
    EXPECT_EQ(sorted({withNul, "a"}), (QStringList{"a", withNul}));
}

TEST(SortStringArray, MatchesTheExchangeSortOnGeneratedLists)
{
    TextGenerator generate(3101);
    for (int i = 0; i < 3000; ++i) {
        QStringList list;
        const int n = generate.below(60);
        for (int k = 0; k < n; ++k)
            list.append(generate.sortable(i % 3 == 0 ? 30 : 6));
        QStringList expected = list;
        reference::sortStringArray(expected);
        SortStringArray(list);
        ASSERT_EQ(list, expected);
    }
}

std::vector<std::uint32_t> stableSortedIndices(const std::vector<QStringView> &items)
{
    std::vector<std::uint32_t> order(items.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return wordloom::compareCodeUnits(items[a], items[b]) < 0;
    });
    return order;
}

// The order itself shows stability: equal strings keep ascending indices.
// The same strings as UTF-8 (a lone surrogate made U+FFFD) sort as their
// UTF-16 forms do.
void expectStableBinaryOrder(const std::vector<QStringView> &items)
{
    ASSERT_EQ(wordloom::stableCodeUnitOrder(items), stableSortedIndices(items));
    std::vector<QByteArray> utf8;
    QStringList decoded;
    for (const QStringView item : items) {
        utf8.push_back(item.toUtf8());
        decoded.append(wordloom::decodeUtf8(utf8.back(), false)); // keeps a BOM, as files are read
    }
    const std::vector<QByteArrayView> utf8Views(utf8.cbegin(), utf8.cend());
    ASSERT_EQ(wordloom::stableCodeUnitOrder(utf8Views),
              stableSortedIndices(std::vector<QStringView>(decoded.cbegin(), decoded.cend())));
}

TEST(StableCodeUnitOrder, NoItemsAndOneItem)
{
    EXPECT_TRUE(wordloom::stableCodeUnitOrder(std::span<const QStringView>()).empty());
    const std::vector<QStringView> one{QStringView(u"x")};
    EXPECT_EQ(wordloom::stableCodeUnitOrder(one), std::vector<std::uint32_t>{0});
}

TEST(StableCodeUnitOrder, LargeListsWithDuplicatesAndLongSharedBeginnings)
{
    TextGenerator generate(3201);
    // Enough items for the radix rounds, with long equal runs and prefixes.
    QStringList strings;
    const QString longBeginning = QString(40, u'q');
    for (int k = 0; k < 70000; ++k) {
        switch (generate.below(4)) {
        case 0: strings.append(longBeginning + generate.sortable(3)); break;
        case 1: strings.append(QString(generate.below(30), u'z')); break;
        default: strings.append(generate.sortable(12)); break;
        }
    }
    std::vector<QStringView> items(strings.cbegin(), strings.cend());
    expectStableBinaryOrder(items);

    const std::vector<QStringView> allEqual(50000, QStringView(longBeginning));
    expectStableBinaryOrder(allEqual);
}

TEST(StableCodeUnitOrder, DescendingAndPresortedInputs)
{
    QStringList strings;
    for (int k = 0; k < 40000; ++k)
        strings.append(QStringLiteral("line %1").arg(40000 - k, 6, 10, QChar(u'0')));
    std::vector<QStringView> items(strings.cbegin(), strings.cend());
    expectStableBinaryOrder(items);
    std::reverse(items.begin(), items.end());
    expectStableBinaryOrder(items);
}

// Many small and middle-sized lists, so that every group size of the
// refinement meets equal strings, prefixes, NUL and surrogate units.
TEST(StableCodeUnitOrder, MatchesStableSortOnManyGeneratedLists)
{
    TextGenerator generate(3301);
    for (int i = 0; i < 600; ++i) {
        QStringList strings;
        const int n = generate.below(i % 10 == 0 ? 3000 : 120);
        const QString shared = QString(generate.below(24), u'k');
        for (int k = 0; k < n; ++k) {
            switch (generate.below(5)) {
            case 0: strings.append(QString()); break;
            case 1: strings.append(shared + generate.sortable(10)); break;
            default: strings.append(generate.sortable(8)); break;
            }
        }
        std::vector<QStringView> items(strings.cbegin(), strings.cend());
        expectStableBinaryOrder(items);
        if (HasFatalFailure())
            return;
    }
}

TEST(StableCodeUnitOrder, LargeListOverTheWholeUnitRange)
{
    // First units from all over 0..FFFF give many small first-unit buckets;
    // a few crowded ones go through the byte passes.
    TextGenerator generate(3401);
    QStringList strings;
    for (int k = 0; k < 60000; ++k) {
        const char16_t first = k % 3 == 0 ? char16_t(generate.below(4)) : char16_t(generate.below(65536));
        strings.append(QChar(first) + generate.sortable(9));
    }
    std::vector<QStringView> items(strings.cbegin(), strings.cend());
    expectStableBinaryOrder(items);
}

TEST(StableCodeUnitOrder, ManyLongTiesAcrossTheWholeList)
{
    // Every item shares its first eight units with a tenth of the others, so
    // the whole list is refined again, in groups spread over all of it.
    TextGenerator generate(3601);
    QStringList strings;
    for (int k = 0; k < 150000; ++k)
        strings.append(QString(8, QChar(u'a' + generate.below(10))) + generate.sortable(6));
    std::vector<QStringView> items(strings.cbegin(), strings.cend());
    expectStableBinaryOrder(items);
}

TEST(StableCodeUnitOrder, EdgeShapedLists)
{
    const QString pair = QString::fromUtf16(u"\U0001F600");
    QStringList strings;
    for (int k = 0; k < 5000; ++k) {
        // Equal up to the last of many units, which decides; NUL and
        // surrogates at every position of a key.
        QString s = QString(k % 23, u'a') + QChar(char16_t(k % 3 == 0 ? 0xD83D : k % 3 == 1 ? 0 : 0xE000));
        if (k % 5 == 0)
            s += pair;
        strings.append(s);
        strings.append(QString());
        strings.append(QString(k % 9, QChar(0)));
    }
    std::vector<QStringView> items(strings.cbegin(), strings.cend());
    expectStableBinaryOrder(items);
    std::reverse(items.begin(), items.end());
    expectStableBinaryOrder(items);
    const std::vector<QStringView> allEmpty(40000, QStringView());
    expectStableBinaryOrder(allEmpty);
    expectStableBinaryOrder({});
}

} // namespace

namespace {

// A list already in order is taken in one pass; one item out of place anywhere
// must still send it through the sort.
TEST(StableCodeUnitOrder, SortedListsAndOneItemOutOfPlace)
{
    wordloom::testing::TextGenerator generate(9101);
    for (int round = 0; round < 200; ++round) {
        QStringList list;
        for (int i = 0, n = 1 + generate.below(300); i < n; ++i)
            list.append(generate.sortable(round % 2 ? 3 : 12)); // short ones tie often
        std::sort(list.begin(), list.end(), [](const QString &a, const QString &b) {
            return wordloom::compareCodeUnits(a, b) < 0;
        });
        std::vector<QStringView> items(list.begin(), list.end());
        expectStableBinaryOrder(items);
        std::swap(items[generate.below(int(items.size()))], items[generate.below(int(items.size()))]);
        expectStableBinaryOrder(items);
    }
}

} // namespace
