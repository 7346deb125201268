// The captions the program's two windows show, in UTF-16, as the window template
// holds them (app/window_definition.cpp): what each control reads back as and
// has glyphs for, whatever the system's code page.
#pragma once

namespace lw::testing {

enum class ProgramWindow { Start, Qr };

struct ProgramCaption {
  ProgramWindow window;
  int controlId;  // 0: the window's own title
  const wchar_t* text;
};

inline constexpr ProgramCaption kProgramCaptions[] = {
    {ProgramWindow::Start, 0, L"Linkwright"},
    {ProgramWindow::Start, 100, L""},                  // 链接框
    {ProgramWindow::Start, 110, L""},                  // 编辑框生成
    {ProgramWindow::Start, 120, L"说说或者日志地址"},  // 标签2
    {ProgramWindow::Start, 130, L"生成识别链接"},      // 按钮_转换
    {ProgramWindow::Start, 140, L"提示："},            // 标签_提示
    {ProgramWindow::Start, 150, L"显示二维码"},        // 按钮_转换1
    {ProgramWindow::Start, 160, L""},                  // 分组框1
    {ProgramWindow::Start, 180, L""},                  // 编辑框QQ
    {ProgramWindow::Start, 190, L"获取"},              // 获取
    {ProgramWindow::Start, 200, L"QQ号："},            // 标签1
    {ProgramWindow::Qr, 0, L""},
};

// The list view of the start window (超级列表框日志) and its column titles.
inline constexpr int kLogListId = 170;
inline constexpr const wchar_t* kLogColumnTitles[] = {L"日志", L"ID"};

}  // namespace lw::testing
