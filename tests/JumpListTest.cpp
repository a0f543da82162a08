// The jump list's calls to the shell, through a destination list of the test's own that keeps
// what it is given; and the command lines of its links as the system splits them.
#include "JumpList.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <windows.h>
#include <propidl.h>
#include <propsys.h>
#include <shellapi.h>
#include <shobjidl.h>

namespace {

using Platform::JumpList::TTask;

const PROPERTYKEY TitleKey = {{0xF29F85E0, 0x4FF9, 0x1068, {0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9}}, 2};

// What a link given to the list holds.
struct TLink {
  QString Path;
  QString Arguments;
  std::optional<QString> Title;  // none where the system's links keep no properties (Wine)
};

TLink Read(IShellLinkW* link) {
  TLink read;
  wchar_t text[1024] = {};
  if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH)))
    read.Path = QString::fromWCharArray(text);
  if (SUCCEEDED(link->GetArguments(text, 1024)))
    read.Arguments = QString::fromWCharArray(text);
  IPropertyStore* store = nullptr;
  if (SUCCEEDED(link->QueryInterface(__uuidof(IPropertyStore), reinterpret_cast<void**>(&store)))) {
    PROPVARIANT value;
    PropVariantInit(&value);
    if (SUCCEEDED(store->GetValue(TitleKey, &value)) && value.vt == VT_LPWSTR)
      read.Title = QString::fromWCharArray(value.pwszVal);
    PropVariantClear(&value);
    store->Release();
  }
  return read;
}

// A destination list that keeps the calls it gets and the links of the user tasks.
class TRecordingList : public ICustomDestinationList {
public:
  HRESULT BeginResult = S_OK;
  HRESULT AddResult = S_OK;
  QStringList Calls;
  QList<TLink> Links;
  ULONG References = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    *object = id == __uuidof(IUnknown) || id == __uuidof(ICustomDestinationList) ? this : nullptr;
    if (!*object)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++References; }
  ULONG STDMETHODCALLTYPE Release() override { return --References; }
  HRESULT STDMETHODCALLTYPE SetAppID(LPCWSTR) override { return Call("SetAppID", S_OK); }
  // No destination was removed, and none is handed back.
  HRESULT STDMETHODCALLTYPE BeginList(UINT* places, REFIID, void** removed) override {
    *places = 10;
    *removed = nullptr;
    return Call("BeginList", BeginResult);
  }
  HRESULT STDMETHODCALLTYPE AppendCategory(LPCWSTR, IObjectArray*) override { return Call("AppendCategory", S_OK); }
  HRESULT STDMETHODCALLTYPE AppendKnownCategory(KNOWNDESTCATEGORY) override {
    return Call("AppendKnownCategory", S_OK);
  }
  HRESULT STDMETHODCALLTYPE AddUserTasks(IObjectArray* tasks) override {
    UINT count = 0;
    tasks->GetCount(&count);
    for (UINT i = 0; i < count; ++i) {
      IShellLinkW* link = nullptr;
      if (SUCCEEDED(tasks->GetAt(i, __uuidof(IShellLinkW), reinterpret_cast<void**>(&link)))) {
        Links << Read(link);
        link->Release();
      }
    }
    return Call("AddUserTasks", AddResult);
  }
  HRESULT STDMETHODCALLTYPE CommitList() override { return Call("CommitList", S_OK); }
  HRESULT STDMETHODCALLTYPE GetRemovedDestinations(REFIID, void** object) override {
    *object = nullptr;
    return Call("GetRemovedDestinations", E_NOTIMPL);
  }
  HRESULT STDMETHODCALLTYPE DeleteList(LPCWSTR) override { return Call("DeleteList", E_NOTIMPL); }
  HRESULT STDMETHODCALLTYPE AbortList() override { return Call("AbortList", S_OK); }

private:
  HRESULT Call(const char* name, HRESULT result) {
    Calls << QString::fromLatin1(name);
    return result;
  }
};

class JumpListTest : public ::testing::Test {
protected:
  void SetUp() override {
    Platform::JumpList::SetListSource([this] {
      List.AddRef();
      return static_cast<ICustomDestinationList*>(&List);
    });
    Platform::JumpList::SetDebugSink([this](const QString& line) { DebugLines << line; });
  }
  void TearDown() override {
    Platform::JumpList::Flush();
    Platform::JumpList::SetListSource({});
    Platform::JumpList::SetDebugSink({});
    EXPECT_EQ(List.References, 1u) << "a reference was kept";
  }

  TRecordingList List;
  QStringList DebugLines;
  const QList<TTask> Tasks = {{QStringLiteral("Green tea  2:00"), {"-tea", "Green tea", "-start"}},
                              {QStringLiteral("Oolong, gongfu  0:20 \u00D76"), {"-tea", "Oolong, gongfu", "-start"}}};
};

TEST_F(JumpListTest, EachTaskIsALinkToTheRunningProgramWithItsTitleAndArguments) {
  QString failure;
  ASSERT_TRUE(Platform::JumpList::WriteNow(Tasks, &failure)) << failure.toStdString();
  EXPECT_EQ(List.Calls, (QStringList{"BeginList", "AddUserTasks", "CommitList"}));
  ASSERT_EQ(List.Links.size(), 2);
  const QString program = QCoreApplication::applicationFilePath();
  for (qsizetype i = 0; i < 2; ++i) {
    EXPECT_EQ(QString(List.Links[i].Path).replace(u'\\', u'/').toLower(), program.toLower());
    EXPECT_EQ(List.Links[i].Arguments, Platform::JumpList::CommandLine(Tasks[i].Arguments));
    if (List.Links[i].Title) {
      EXPECT_EQ(*List.Links[i].Title, Tasks[i].Title);
    }
  }
  EXPECT_EQ(List.Links[1].Arguments, QStringLiteral("-tea \"Oolong, gongfu\" -start"));
}

TEST_F(JumpListTest, AFailureLeavesTheListAsItWasAndIsOneDebugLine) {
  List.AddResult = E_ACCESSDENIED;
  QString failure;
  EXPECT_FALSE(Platform::JumpList::WriteNow(Tasks, &failure));
  EXPECT_EQ(List.Calls, (QStringList{"BeginList", "AddUserTasks", "AbortList"}));
  EXPECT_TRUE(failure.contains(QStringLiteral("AddUserTasks")) && failure.contains(QStringLiteral("80070005")))
      << failure.toStdString();

  // In the background: the window goes on, the debugger's output gets the line.
  List.Calls.clear();
  List.BeginResult = E_FAIL;
  Platform::JumpList::Write(Tasks);
  Platform::JumpList::Flush();
  EXPECT_EQ(List.Calls, QStringList{"BeginList"});
  ASSERT_EQ(DebugLines.size(), 1);
  EXPECT_TRUE(DebugLines[0].contains(QStringLiteral("BeginList"))) << DebugLines[0].toStdString();
}

// What the system's splitting makes of a link's command line is the arguments it was made of.
TEST(JumpListCommandLine, TheSystemSplitsItBackIntoTheArguments) {
  const QStringList names = {QStringLiteral("Sencha"), QStringLiteral("Oolong, gongfu"), QStringLiteral("Pu-erh \"2019\""),
                             QStringLiteral("C:\\teas\\"), QStringLiteral("a\\\\\"b"), QStringLiteral("Thé vert"),
                             QStringLiteral("-start"), QStringLiteral("/tea")};
  for (const QString& name : names) {
    const QStringList arguments = {QStringLiteral("-tea"), name, QStringLiteral("-start")};
    const std::wstring line = (QStringLiteral("steepo.exe ") + Platform::JumpList::CommandLine(arguments)).toStdWString();
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(split, nullptr);
    QStringList back;
    for (int i = 1; i < count; ++i)
      back << QString::fromWCharArray(split[i]);
    LocalFree(split);
    EXPECT_EQ(back, arguments) << name.toStdString();
  }
}

} // namespace
