#include "convert/base_rules.h"

namespace kelvaro {
namespace {

struct Default {
  char16_t character;
  std::u16string_view reading;
};

constexpr Default kDefaults[] = {
    {u'游', u"you2"},  {u'乐', u"le4"},  {u'呱', u"gua1"}, {u'谁', u"shui2"},
    {u'行', u"xing2"}, {u'为', u"wei4"}, {u'背', u"bei1"}, {u'重', u"zhong4"},
};

struct Group {
  char16_t character;
  std::u16string_view reading;
  std::span<const ContextTest> tests;
};

// Each test is {before, after}: the characters right before 重 and right
// after it. A test that reads n characters before holds from position n + 1 on.
constexpr ContextTest kChongTests[] = {{u"", u"庆"}, {u"", u"重"}, {u"重"}};
constexpr ContextTest kXianTests[] = {{u"低", u"牛"}};
constexpr ContextTest kXiangTests[] = {{u"", u"片"}, {u"", u"机"}, {u"", u"册"},
                                       {u"", u"纸"}, {u"照"},      {u"儿白"}};
constexpr ContextTest kKanTests[] = {{u"", u"弟"}, {u"", u"护"}, {u"", u"守"}, {u"", u"家"},
                                     {u"", u"门"}, {u"", u"管"}, {u"", u"押"}};
constexpr ContextTest kChaTests[] = {{u"", u"别"}, {u"", u"错"}, {u"", u"额"}, {u"", u"距"}};
constexpr ContextTest kHuoTests[] = {{u"暖"}, {u"暖和"}};
constexpr ContextTest kWeiTests[] = {{u"", u"异客"}, {u"", u"法"}, {u"", u"害"},  {u"", u"富不"},
                                     {u"", u"难"},   {u"", u"人"}, {u"难", u"情"}};
constexpr ContextTest kHuanTests[] = {{u"", u"乡"}, {u"", u"俗"}, {u"", u"你"}, {u"", u"给"},
                                      {u"", u"击"}, {u"", u"口"}, {u"", u"清"}, {u"", u"原"}};
constexpr ContextTest kHangTests[] = {{u"", u"行"}, {u"", u"家"}, {u"", u"柳"}, {u"", u" 行"},
                                      {u"行"},      {u"银"},      {u"这"},      {u"那"},
                                      {u"柳成"},    {u"六十"},    {u"行 "}};
constexpr ContextTest kGengTests[] = {{u"", u"换"}, {u"", u"替"}, {u"三"}};
constexpr ContextTest kTiaoTests[] = {{u"", u"皮"}, {u"", u"协"}, {u"", u"剂"},
                                      {u"", u"色"}, {u"空"},      {u"协"}};
constexpr ContextTest kShaoTests[] = {{u"", u"年"},  {u"", u"女"},   {u"", u"小"}, {u"", u"壮"},
                                      {u"", u" 壮"}, {u"方", u"时"}, {u"年"}};
constexpr ContextTest kJuanTests[] = {{u"", u"里啃"}, {u"", u"养"}};
constexpr ContextTest kYueTests[] = {{u"", u"器"}, {u"", u"曲"}, {u"礼"}, {u"音"}, {u"《", u"》"}};
constexpr ContextTest kXiaoTests[] = {{u"", u"皮"}, {u"", u"竹简"}, {u"", u"苹果"}};
constexpr ContextTest kLiaoTests[] = {{u"知"}, {u"飞不"}};
constexpr ContextTest kBeiTests[] = {{u"", u"向"}, {u"", u"叛"}, {u"", u"靠"}, {u"牛"},
                                     {u"向"},      {u"违"},      {u"捶捶"}};
// 长 reads its one-character look-behinds (消长, 成长, 兄长, 团长) only from
// position 3 on, like its two-character ones (水里长): the rule reads a 长 that
// follows at least two characters. The guard keeps the readings the program has
// always shown: a text that starts with 成长 or 团长 keeps the dictionary reading
// chang2 (the tests hold both sides).
constexpr ContextTest kZhangTests[] = {
    {u"", u"上"},    {u"", u"成"},     {u"", u"大"},    {u"", u"着"},   {u"", u"得"},
    {u"", u"在"},    {u"", u"幼"},     {u"", u"癣"},    {u"", u"出"},   {u"", u"高"},
    {u"", u"个"},    {u"", u"肉"},     {u"", u"羊毛"},  {u"", u"了一"}, {u"", u"身体"},
    {u"", u"脂膘"},  {u"", u"疙瘩"},   {u"", u"到蓝"},  {u"", u"了个"}, {u"", u"了几"},
    {u"", u"眼皮"},  {u"", u"长到蓝"}, {u"水里"},       {u"快快"},      {u"往上"},
    {u"消", u"", 2}, {u"成", u"", 2},  {u"兄", u"", 2}, {u"团", u"", 2}};

constexpr Group kGroups[] = {
    {u'重', u"chong2", kChongTests}, {u'见', u"xian4", kXianTests}, {u'相', u"xiang4", kXiangTests},
    {u'看', u"kan1", kKanTests},     {u'差', u"cha1", kChaTests},   {u'和', u"huo", kHuoTests},
    {u'为', u"wei2", kWeiTests},     {u'还', u"huan2", kHuanTests}, {u'行', u"hang2", kHangTests},
    {u'更', u"geng1", kGengTests},   {u'调', u"tiao2", kTiaoTests}, {u'少', u"shao4", kShaoTests},
    {u'圈', u"juan4", kJuanTests},   {u'乐', u"yue4", kYueTests},   {u'削', u"xiao1", kXiaoTests},
    {u'了', u"liao3", kLiaoTests},   {u'背', u"bei4", kBeiTests},   {u'长', u"zhang3", kZhangTests},
};

}  // namespace

void AddBaseRules(ReadingRules& rules) {
  for (const Default& row : kDefaults) rules.AddDefault(row.character, row.reading);
  for (const Group& group : kGroups) rules.AddGroup(group.character, group.reading, group.tests);
}

}  // namespace kelvaro
