#include "assign/emoji_table.h"

#include <iterator>

#include "base/text.h"

namespace tk410 {
namespace {

struct EmojiEntry {
  const wchar_t* text;  // typed into the focused window
  const wchar_t* tip;   // word of the picker's tooltip
};

// WeChat emoji codes, numbered from 1. The tooltip word is the code without
// its brackets except for entries 26, 27 and 40.
constexpr EmojiEntry kEmoji[] = {
    {L"[微笑]", L"微笑"},  // 1
    {L"[撇嘴]", L"撇嘴"},  // 2
    {L"[色]", L"色"},  // 3
    {L"[发呆]", L"发呆"},  // 4
    {L"[得意]", L"得意"},  // 5
    {L"[流泪]", L"流泪"},  // 6
    {L"[害羞]", L"害羞"},  // 7
    {L"[闭嘴]", L"闭嘴"},  // 8
    {L"[睡]", L"睡"},  // 9
    {L"[大哭]", L"大哭"},  // 10
    {L"[尴尬]", L"尴尬"},  // 11
    {L"[发怒]", L"发怒"},  // 12
    {L"[调皮]", L"调皮"},  // 13
    {L"[呲牙]", L"呲牙"},  // 14
    {L"[惊讶]", L"惊讶"},  // 15
    {L"[难过]", L"难过"},  // 16
    {L"[囧]", L"囧"},  // 17
    {L"[抓狂]", L"抓狂"},  // 18
    {L"[吐]", L"吐"},  // 19
    {L"[偷笑]", L"偷笑"},  // 20
    {L"[愉快]", L"愉快"},  // 21
    {L"[白眼]", L"白眼"},  // 22
    {L"[傲慢]", L"傲慢"},  // 23
    {L"[困]", L"困"},  // 24
    {L"[惊恐]", L"惊恐"},  // 25
    {L"[憨笑]", L"流汗"},  // 26
    {L"[悠闲]", L"憨笑"},  // 27
    {L"[咒骂]", L"咒骂"},  // 28
    {L"[疑问]", L"疑问"},  // 29
    {L"[嘘]", L"嘘"},  // 30
    {L"[晕]", L"晕"},  // 31
    {L"[衰]", L"衰"},  // 32
    {L"[骷髅]", L"骷髅"},  // 33
    {L"[敲打]", L"敲打"},  // 34
    {L"[再见]", L"再见"},  // 35
    {L"[擦汗]", L"擦汗"},  // 36
    {L"[抠鼻]", L"抠鼻"},  // 37
    {L"[鼓掌]", L"鼓掌"},  // 38
    {L"[坏笑]", L"坏笑"},  // 39
    {L"[右哼哼]", L"左哼哼"},  // 40
    {L"[鄙视]", L"鄙视"},  // 41
    {L"[委屈]", L"委屈"},  // 42
    {L"[快哭了]", L"快哭了"},  // 43
    {L"[阴险]", L"阴险"},  // 44
    {L"[亲亲]", L"亲亲"},  // 45
    {L"[可怜]", L"可怜"},  // 46
    {L"[笑脸]", L"笑脸"},  // 47
    {L"[生病]", L"生病"},  // 48
    {L"[脸红]", L"脸红"},  // 49
    {L"[破涕为笑]", L"破涕为笑"},  // 50
    {L"[恐惧]", L"恐惧"},  // 51
    {L"[失望]", L"失望"},  // 52
    {L"[无语]", L"无语"},  // 53
    {L"[嘿哈]", L"嘿哈"},  // 54
    {L"[捂脸]", L"捂脸"},  // 55
    {L"[奸笑]", L"奸笑"},  // 56
    {L"[机智]", L"机智"},  // 57
    {L"[皱眉]", L"皱眉"},  // 58
    {L"[耶]", L"耶"},  // 59
    {L"[吃瓜]", L"吃瓜"},  // 60
    {L"[加油]", L"加油"},  // 61
    {L"[汗]", L"汗"},  // 62
    {L"[天啊]", L"天啊"},  // 63
    {L"[Emm]", L"Emm"},  // 64
    {L"[社会社会]", L"社会社会"},  // 65
    {L"[旺柴]", L"旺柴"},  // 66
    {L"[好的]", L"好的"},  // 67
    {L"[打脸]", L"打脸"},  // 68
    {L"[哇]", L"哇"},  // 69
    {L"[翻白眼]", L"翻白眼"},  // 70
    {L"[666]", L"666"},  // 71
    {L"[让我看看]", L"让我看看"},  // 72
    {L"[叹气]", L"叹气"},  // 73
    {L"[苦涩]", L"苦涩"},  // 74
    {L"[裂开]", L"裂开"},  // 75
    {L"[嘴唇]", L"嘴唇"},  // 76
    {L"[爱心]", L"爱心"},  // 77
    {L"[心碎]", L"心碎"},  // 78
    {L"[拥抱]", L"拥抱"},  // 79
    {L"[强]", L"强"},  // 80
    {L"[弱]", L"弱"},  // 81
    {L"[握手]", L"握手"},  // 82
    {L"[胜利]", L"胜利"},  // 83
    {L"[抱拳]", L"抱拳"},  // 84
    {L"[勾引]", L"勾引"},  // 85
    {L"[拳头]", L"拳头"},  // 86
    {L"[OK]", L"OK"},  // 87
    {L"[合十]", L"合十"},  // 88
    {L"[啤酒]", L"啤酒"},  // 89
    {L"[咖啡]", L"咖啡"},  // 90
    {L"[蛋糕]", L"蛋糕"},  // 91
    {L"[玫瑰]", L"玫瑰"},  // 92
    {L"[凋谢]", L"凋谢"},  // 93
    {L"[菜刀]", L"菜刀"},  // 94
    {L"[炸弹]", L"炸弹"},  // 95
    {L"[便便]", L"便便"},  // 96
    {L"[月亮]", L"月亮"},  // 97
    {L"[太阳]", L"太阳"},  // 98
    {L"[庆祝]", L"庆祝"},  // 99
    {L"[礼物]", L"礼物"},  // 100
    {L"[红包]", L"红包"},  // 101
    {L"[發]", L"發"},  // 102
    {L"[福]", L"福"},  // 103
    {L"[烟花]", L"烟花"},  // 104
    {L"[爆竹]", L"爆竹"},  // 105
    {L"[猪头]", L"猪头"},  // 106
    {L"[跳跳]", L"跳跳"},  // 107
    {L"[发抖]", L"发抖"},  // 108
    {L"[转圈]", L"转圈"},  // 109
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

std::wstring EmojiPictureName(int number) {
  if (!Find(number)) return std::wstring();
  return FormatW(L"Emoji\\wechat_emoji_%02d.png", number - 1);
}

}  // namespace tk410
