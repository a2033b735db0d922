#include "assign/emoji_table.h"

#include <iterator>

#include "base/text.h"

namespace tk410 {
namespace {

struct EmojiEntry {
  const wchar_t* text;           // typed into the focused window
  const wchar_t* tip;            // word of the picker's tooltip
  const char32_t* code_points;   // the Unicode emoji its picture shows
};

// WeChat emoji codes, numbered from 1. The tooltip word is the code without
// its brackets except for entries 26, 27 and 40. Each text's picture is
// drawn from the Unicode emoji of the same meaning, one of its own per text;
// where Unicode has none for the very meaning, the nearest (a nose for
// picking one's nose, a money bag for 發, a lantern for 福).
constexpr EmojiEntry kEmoji[] = {
    {L"[微笑]", L"微笑", U"\U0001F642"},  // 1
    {L"[撇嘴]", L"撇嘴", U"\U0001F641"},  // 2
    {L"[色]", L"色", U"\U0001F60D"},  // 3
    {L"[发呆]", L"发呆", U"\U0001F636"},  // 4
    {L"[得意]", L"得意", U"\U0001F60E"},  // 5
    {L"[流泪]", L"流泪", U"\U0001F622"},  // 6
    {L"[害羞]", L"害羞", U"\U0001F60A"},  // 7
    {L"[闭嘴]", L"闭嘴", U"\U0001F910"},  // 8
    {L"[睡]", L"睡", U"\U0001F634"},  // 9
    {L"[大哭]", L"大哭", U"\U0001F62D"},  // 10
    {L"[尴尬]", L"尴尬", U"\U0001F62C"},  // 11
    {L"[发怒]", L"发怒", U"\U0001F621"},  // 12
    {L"[调皮]", L"调皮", U"\U0001F61C"},  // 13
    {L"[呲牙]", L"呲牙", U"\U0001F601"},  // 14
    {L"[惊讶]", L"惊讶", U"\U0001F62E"},  // 15
    {L"[难过]", L"难过", U"\U0001F614"},  // 16
    {L"[囧]", L"囧", U"\U0001F627"},  // 17
    {L"[抓狂]", L"抓狂", U"\U0001F62B"},  // 18
    {L"[吐]", L"吐", U"\U0001F92E"},  // 19
    {L"[偷笑]", L"偷笑", U"\U0001F92D"},  // 20
    {L"[愉快]", L"愉快", U"\U0001F600"},  // 21
    {L"[白眼]", L"白眼", U"\U0001F612"},  // 22
    {L"[傲慢]", L"傲慢", U"\U0001F9D0"},  // 23
    {L"[困]", L"困", U"\U0001F62A"},  // 24
    {L"[惊恐]", L"惊恐", U"\U0001F631"},  // 25
    {L"[憨笑]", L"流汗", U"\U0001F606"},  // 26
    {L"[悠闲]", L"憨笑", U"\U0001F60C"},  // 27
    {L"[咒骂]", L"咒骂", U"\U0001F92C"},  // 28
    {L"[疑问]", L"疑问", U"\U0001F914"},  // 29
    {L"[嘘]", L"嘘", U"\U0001F92B"},  // 30
    {L"[晕]", L"晕", U"\U0001F635"},  // 31
    {L"[衰]", L"衰", U"\U0001F629"},  // 32
    {L"[骷髅]", L"骷髅", U"\U0001F480"},  // 33
    {L"[敲打]", L"敲打", U"\U0001F528"},  // 34
    {L"[再见]", L"再见", U"\U0001F44B"},  // 35
    {L"[擦汗]", L"擦汗", U"\U0001F605"},  // 36
    {L"[抠鼻]", L"抠鼻", U"\U0001F443"},  // 37
    {L"[鼓掌]", L"鼓掌", U"\U0001F44F"},  // 38
    {L"[坏笑]", L"坏笑", U"\U0001F60F"},  // 39
    {L"[右哼哼]", L"左哼哼", U"\U0001F624"},  // 40
    {L"[鄙视]", L"鄙视", U"\U0001F928"},  // 41
    {L"[委屈]", L"委屈", U"\U0001F97A"},  // 42
    {L"[快哭了]", L"快哭了", U"\U0001F625"},  // 43
    {L"[阴险]", L"阴险", U"\U0001F925"},  // 44
    {L"[亲亲]", L"亲亲", U"\U0001F618"},  // 45
    {L"[可怜]", L"可怜", U"\U0001F61F"},  // 46
    {L"[笑脸]", L"笑脸", U"\U0001F604"},  // 47
    {L"[生病]", L"生病", U"\U0001F912"},  // 48
    {L"[脸红]", L"脸红", U"\U0001F633"},  // 49
    {L"[破涕为笑]", L"破涕为笑", U"\U0001F602"},  // 50
    {L"[恐惧]", L"恐惧", U"\U0001F628"},  // 51
    {L"[失望]", L"失望", U"\U0001F61E"},  // 52
    {L"[无语]", L"无语", U"\U0001F611"},  // 53
    {L"[嘿哈]", L"嘿哈", U"\U0001F92A"},  // 54
    {L"[捂脸]", L"捂脸", U"\U0001F926"},  // 55
    {L"[奸笑]", L"奸笑", U"\U0001F608"},  // 56
    {L"[机智]", L"机智", U"\U0001F913"},  // 57
    {L"[皱眉]", L"皱眉", U"\U00002639\U0000FE0F"},  // 58
    {L"[耶]", L"耶", U"\U0001F973"},  // 59
    {L"[吃瓜]", L"吃瓜", U"\U0001F349"},  // 60
    {L"[加油]", L"加油", U"\U0001F4AA"},  // 61
    {L"[汗]", L"汗", U"\U0001F613"},  // 62
    {L"[天啊]", L"天啊", U"\U0001F632"},  // 63
    {L"[Emm]", L"Emm", U"\U0001F610"},  // 64
    {L"[社会社会]", L"社会社会", U"\U0001F919"},  // 65
    {L"[旺柴]", L"旺柴", U"\U0001F436"},  // 66
    {L"[好的]", L"好的", U"\U0001F646"},  // 67
    {L"[打脸]", L"打脸", U"\U0001F915"},  // 68
    {L"[哇]", L"哇", U"\U0001F929"},  // 69
    {L"[翻白眼]", L"翻白眼", U"\U0001F644"},  // 70
    {L"[666]", L"666", U"\U0001F4AF"},  // 71
    {L"[让我看看]", L"让我看看", U"\U0001F440"},  // 72
    {L"[叹气]", L"叹气", U"\U0001F62E\U0000200D\U0001F4A8"},  // 73
    {L"[苦涩]", L"苦涩", U"\U0001F972"},  // 74
    {L"[裂开]", L"裂开", U"\U0001F92F"},  // 75
    {L"[嘴唇]", L"嘴唇", U"\U0001F48B"},  // 76
    {L"[爱心]", L"爱心", U"\U00002764\U0000FE0F"},  // 77
    {L"[心碎]", L"心碎", U"\U0001F494"},  // 78
    {L"[拥抱]", L"拥抱", U"\U0001F917"},  // 79
    {L"[强]", L"强", U"\U0001F44D"},  // 80
    {L"[弱]", L"弱", U"\U0001F44E"},  // 81
    {L"[握手]", L"握手", U"\U0001F91D"},  // 82
    {L"[胜利]", L"胜利", U"\U0000270C\U0000FE0F"},  // 83
    {L"[抱拳]", L"抱拳", U"\U0001F91C"},  // 84
    {L"[勾引]", L"勾引", U"\U0000261D\U0000FE0F"},  // 85
    {L"[拳头]", L"拳头", U"\U0001F44A"},  // 86
    {L"[OK]", L"OK", U"\U0001F44C"},  // 87
    {L"[合十]", L"合十", U"\U0001F64F"},  // 88
    {L"[啤酒]", L"啤酒", U"\U0001F37A"},  // 89
    {L"[咖啡]", L"咖啡", U"\U00002615"},  // 90
    {L"[蛋糕]", L"蛋糕", U"\U0001F382"},  // 91
    {L"[玫瑰]", L"玫瑰", U"\U0001F339"},  // 92
    {L"[凋谢]", L"凋谢", U"\U0001F940"},  // 93
    {L"[菜刀]", L"菜刀", U"\U0001F52A"},  // 94
    {L"[炸弹]", L"炸弹", U"\U0001F4A3"},  // 95
    {L"[便便]", L"便便", U"\U0001F4A9"},  // 96
    {L"[月亮]", L"月亮", U"\U0001F319"},  // 97
    {L"[太阳]", L"太阳", U"\U00002600\U0000FE0F"},  // 98
    {L"[庆祝]", L"庆祝", U"\U0001F389"},  // 99
    {L"[礼物]", L"礼物", U"\U0001F381"},  // 100
    {L"[红包]", L"红包", U"\U0001F9E7"},  // 101
    {L"[發]", L"發", U"\U0001F4B0"},  // 102
    {L"[福]", L"福", U"\U0001F3EE"},  // 103
    {L"[烟花]", L"烟花", U"\U0001F386"},  // 104
    {L"[爆竹]", L"爆竹", U"\U0001F9E8"},  // 105
    {L"[猪头]", L"猪头", U"\U0001F437"},  // 106
    {L"[跳跳]", L"跳跳", U"\U0001F938"},  // 107
    {L"[发抖]", L"发抖", U"\U0001F976"},  // 108
    {L"[转圈]", L"转圈", U"\U0001F483"},  // 109
};
static_assert(std::size(kEmoji) == kEmojiCount, "one entry per emoji number");

const EmojiEntry* Find(int number) {
  if (number < 1 || number > kEmojiCount) return nullptr;
  return &kEmoji[number - 1];
}

}  // namespace

std::wstring EmojiText(int number) {
  const EmojiEntry* entry = Find(number);
  return entry ? entry->text : std::wstring();
}

std::wstring EmojiTip(int number) {
  const EmojiEntry* entry = Find(number);
  return entry ? std::wstring(L"表情: ") + entry->tip : std::wstring();
}

std::u32string EmojiCodePoints(int number) {
  const EmojiEntry* entry = Find(number);
  return entry ? entry->code_points : std::u32string();
}

std::wstring EmojiPictureName(int number) {
  if (!Find(number)) return std::wstring();
  return FormatW(L"Emoji\\wechat_emoji_%02d.png", number - 1);
}

}  // namespace tk410
