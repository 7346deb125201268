// The runtime's error texts, each written once: the fatal errors the runtime
// raises itself, the formats of those that name something, and the numbered
// run-time errors that compiled code raises. Texts are GBK like every program text
// (the sources are UTF-8 and compile to code page 936). Pure.
#pragma once

namespace lw {
namespace error_text {

// Fatal errors without a number.
inline constexpr char UnitNotLoaded[] = "指定窗口或窗口组件不存在或尚未载入";  // a window or unit by id
inline constexpr char WindowOfUnitNotLoaded[] = "未载入欲访问窗口组件所在的窗口";  // a property's window
inline constexpr char WindowNotLoaded[] = "指定窗口尚未载入";       // a kind's own property, unit not live
inline constexpr char EventWindowNotFound[] = "未找到引发事件的窗口";
inline constexpr char EventUnitNotFound[] = "未找到引发事件的窗口组件";
inline constexpr char EventUnitInvalid[] = "引发事件的窗口组件无效";  // a unit kind that raises no events
inline constexpr char ByteSetDataTypeInvalid[] = "“欲取出数据的类型”参数值无效";
inline constexpr char WindowSectionDamaged[] = "载入窗口模板数据段出错!";
inline constexpr char StartWindowNotLoaded[] = "载入启动窗口失败";

// printf formats of the fatal errors that name something.
inline constexpr char AllocationFailed[] = "分配 %d 字节内存失败!";                          // the byte count
inline constexpr char DllExportNotFoundIn[] = "无法找到指定DLL库文件“%s”中的输出命令“%s”";  // library, export
inline constexpr char DllExportNotFound[] = "无法找到指定DLL库文件中的输出命令“%s”";          // export

}  // namespace error_text

// The numbered run-time errors: the number is the code the error box shows.
namespace error_number {
constexpr int IndexAboveCount = 1;
constexpr int NotANumber = 2;
constexpr int DimensionMismatch = 3;
constexpr int IndexBelowOne = 4;
constexpr int TypeMismatch = 5;
constexpr int StackDamagedByDllCall = 6;
constexpr int NoBasicValueReturned = 7;
constexpr int OnlyEqualityComparable = 8;
constexpr int ChoiceIndexOutOfRange = 9;
constexpr int RedimensionSizeInvalid = 10;
constexpr int ArgumentTypeInvalid = 11;
constexpr int Count = 12;  // one past the last; 0 is no error
}  // namespace error_number

namespace error_text {

// The message of each numbered error, at its number.
inline constexpr const char* Numbered[] = {
    nullptr,
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};
static_assert(sizeof Numbered / sizeof Numbered[0] == error_number::Count, "one message per error number");

}  // namespace error_text
}  // namespace lw
