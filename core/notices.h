#pragma once
// The words of a front end that keeps pets (the web page): the captions of
// its bar and the notices it shows besides fault messages. Here in the core,
// so that the program's font has their characters and any front end that
// takes up keeping pets says the same. A notice has a kind, for the page's
// look and the replay protocol ("bad link" is a refused link, whose words
// are the decoder's), and a text.

#include <string_view>
#include <utility>

namespace petcalc {

inline constexpr std::string_view kUndoCaption = "撤销";
inline constexpr std::string_view kRedoCaption = "重做";
inline constexpr std::string_view kShareCaption = "分享";

// "我的宠物": its title, the phone bar's button that opens it, the box for a
// new name, and its buttons by what they do; the mark of the compared pet.
inline constexpr std::string_view kPetsTitle = "我的宠物";
inline constexpr std::string_view kPetsCaption = "宠物";
inline constexpr std::string_view kNameCaption = "名字";
inline constexpr std::pair<std::string_view, std::string_view> kPetButtons[] = {
    {"new", "新建"},    {"duplicate", "复制"}, {"rename", "重命名"}, {"delete", "删除"}, {"restore", "恢复"},
    {"compare", "对比"}, {"uncompare", "取消对比"}, {"export", "导出"},  {"import", "导入"}};
inline constexpr std::string_view kComparedMark = "（对比）";
// After the heading the pets table is sorted by: ascending, descending.
inline constexpr std::string_view kSortMarks[] = {" ▲", " ▼"};
inline constexpr std::string_view kExportFileName = "我的宠物.json";

enum class Notice { StorageBlocked, StorageFull, RecordSetAside, Link, LinkCopied };
inline constexpr std::string_view kNoticeNames[] = {"storageBlocked", "storageFull", "recordSetAside", "link", "linkCopied"};

// The kinds of notice, by which the page styles one and the replay
// protocol names it.
enum class NoticeKind { BadLink, BadName, Pets, BadFile, Storage, Link, NoPlan };
inline constexpr std::string_view kNoticeKinds[] = {"bad link", "bad name", "pets", "bad file", "storage", "link", "no plan"};
inline constexpr std::string_view noticeKindName(NoticeKind k) { return kNoticeKinds[static_cast<int>(k)]; }

struct NoticeText {
    NoticeKind kind;
    std::string_view text;
};

// Said at most once a visit: keeping fails without stopping anything.
inline constexpr NoticeText kNotices[] = {
    {NoticeKind::Storage, "这里不能保存宠物，刷新页面后宠物不在了；可以「分享」为链接。"},
    {NoticeKind::Storage, "最近的修改没有保存（已满）；之前保存的宠物还在。"},
    {NoticeKind::Storage, "之前保存的宠物无法打开（可能来自更新的版本），原样不动；新的修改保存在其他位置。"},
    // The share confirmation, above the link as a read-only field.
    {NoticeKind::Link, "宠物的链接："},
    {NoticeKind::Link, "链接已复制："},
};

// The planner beside the window ("加点方案") and the summary of the panel:
// its captions, by the page's order.
inline constexpr std::string_view kPlanCaption = "加点方案";
inline constexpr std::string_view kPlanModes[] = {"分配剩余潜能", "全部重新分配"};
inline constexpr std::string_view kApplyCaption = "应用";
inline constexpr std::string_view kCloseCaption = "关闭";
inline constexpr std::string_view kTargetCaption = "目标";
inline constexpr std::string_view kMinimumCaption = "最低";
// The plan's columns: what is added and the totals; the panel and its change.
inline constexpr std::string_view kPlanColumns[] = {"加点", "合计", "方案后", "变化"};

inline const NoticeText& noticeText(Notice n) { return kNotices[static_cast<int>(n)]; }

}  // namespace petcalc
