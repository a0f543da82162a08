// The jump list of the taskbar button: the shell's destination list, whose user tasks are
// shell links to the running program. The shell is called on a thread of its own, in an
// apartment of its own: it may take its time, and the window never waits for it.

#include "JumpList.h"

#include <QMutex>
#include <QThreadPool>

#include <atomic>
#include <optional>
#include <vector>

#include <windows.h>
#include <objbase.h>
#include <propidl.h>
#include <propsys.h>
#include <shobjidl.h>

namespace Platform::JumpList {

namespace {

// PKEY_Title, the title the jump list shows for a link.
const PROPERTYKEY TitleKey = {{0xF29F85E0, 0x4FF9, 0x1068, {0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9}}, 2};

// One reference to a COM object, given back when it goes.
template <typename T>
class TRef {
public:
  TRef() = default;
  explicit TRef(T* object) : FObject(object) {}
  ~TRef() { Reset(); }
  TRef(const TRef&) = delete;
  TRef& operator=(const TRef&) = delete;

  T* operator->() const { return FObject; }
  T* Get() const { return FObject; }
  // Where a call that makes the object puts it.
  void** Out() {
    Reset();
    return reinterpret_cast<void**>(&FObject);
  }

private:
  void Reset() {
    if (FObject)
      FObject->Release();
    FObject = nullptr;
  }
  T* FObject = nullptr;
};

QMutex Lock;  // guards the three below
TListSource ListSource;
std::function<void(const QString&)> DebugSink;
std::optional<QList<TTask>> Pending;  // asked for, not yet begun

// The call that failed, as the debug line names it.
bool Failed(const char* call, HRESULT result, QString* failure) {
  *failure = QStringLiteral("%1 failed (0x%2)").arg(QLatin1String(call)).arg(quint32(result), 8, 16, QLatin1Char('0'));
  return false;
}

// The running program's own file.
std::wstring ProgramFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The title as the property store takes it: a copy the variant owns.
bool SetTitle(IShellLinkW* link, const QString& title, QString* failure) {
  TRef<IPropertyStore> store;
  HRESULT result = link->QueryInterface(__uuidof(IPropertyStore), store.Out());
  if (FAILED(result))
    return Failed("IShellLinkW::QueryInterface(IPropertyStore)", result, failure);
  const std::wstring text = title.toStdWString();
  PROPVARIANT value;
  PropVariantInit(&value);
  value.vt = VT_LPWSTR;
  value.pwszVal = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  if (!value.pwszVal)
    return Failed("CoTaskMemAlloc", E_OUTOFMEMORY, failure);
  std::copy(text.c_str(), text.c_str() + text.size() + 1, value.pwszVal);
  result = store->SetValue(TitleKey, value);
  PropVariantClear(&value);
  if (FAILED(result))
    return Failed("IPropertyStore::SetValue(PKEY_Title)", result, failure);
  result = store->Commit();
  return SUCCEEDED(result) || Failed("IPropertyStore::Commit", result, failure);
}

// The links handed to the list, in order: all the list asks of them is an object array. (The
// shell's own collection class is not on every system; Wine has none.)
class TLinkArray final : public IObjectArray {
public:
  TLinkArray() = default;
  TLinkArray(const TLinkArray&) = delete;
  TLinkArray& operator=(const TLinkArray&) = delete;

  void Add(IUnknown* link) {
    link->AddRef();
    FLinks.push_back(link);
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id != __uuidof(IUnknown) && id != __uuidof(IObjectArray)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IObjectArray*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --FReferences;
    if (left == 0)
      delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetCount(UINT* count) override {
    *count = UINT(FLinks.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAt(UINT index, REFIID id, void** object) override {
    if (index >= FLinks.size()) {
      *object = nullptr;
      return E_INVALIDARG;
    }
    return FLinks[index]->QueryInterface(id, object);
  }

private:
  ~TLinkArray() {
    for (IUnknown* link : FLinks)
      link->Release();
  }
  std::atomic<ULONG> FReferences{1};
  std::vector<IUnknown*> FLinks;
};

// A link to program with the task's arguments and title, and the program's icon.
bool AddLink(TLinkArray* links, const std::wstring& program, const TTask& task, QString* failure) {
  TRef<IShellLinkW> link;
  HRESULT result = CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW), link.Out());
  if (FAILED(result))
    return Failed("CoCreateInstance(ShellLink)", result, failure);
  const std::wstring arguments = CommandLine(task.Arguments).toStdWString();
  if (FAILED(result = link->SetPath(program.c_str())))
    return Failed("IShellLinkW::SetPath", result, failure);
  if (FAILED(result = link->SetArguments(arguments.c_str())))
    return Failed("IShellLinkW::SetArguments", result, failure);
  if (FAILED(result = link->SetIconLocation(program.c_str(), 0)))
    return Failed("IShellLinkW::SetIconLocation", result, failure);
  if (!SetTitle(link.Get(), task.Title, failure))
    return false;
  links->Add(link.Get());
  return true;
}

// The user tasks of list, once it has been begun.
bool AddTasks(ICustomDestinationList* list, const QList<TTask>& tasks, QString* failure) {
  const TRef<TLinkArray> links(new TLinkArray);
  const std::wstring program = ProgramFile();
  for (const TTask& task : tasks)
    if (!AddLink(links.Get(), program, task, failure))
      return false;
  HRESULT result = list->AddUserTasks(links.Get());
  if (FAILED(result))
    return Failed("ICustomDestinationList::AddUserTasks", result, failure);
  result = list->CommitList();
  return SUCCEEDED(result) || Failed("ICustomDestinationList::CommitList", result, failure);
}

ICustomDestinationList* OpenDestinationList(HRESULT* result) {
  {
    const QMutexLocker locker(&Lock);
    if (ListSource) {
      ICustomDestinationList* list = ListSource();
      *result = list ? S_OK : E_NOINTERFACE;
      return list;
    }
  }
  ICustomDestinationList* list = nullptr;
  *result = CoCreateInstance(__uuidof(DestinationList), nullptr, CLSCTX_INPROC_SERVER,
                             __uuidof(ICustomDestinationList), reinterpret_cast<void**>(&list));
  return SUCCEEDED(*result) ? list : nullptr;
}

void Debug(const QString& line) {
  const QMutexLocker locker(&Lock);
  if (DebugSink)
    DebugSink(line);
  else
    OutputDebugStringW((QStringLiteral("steepo: jump list: ") + line + u'\n').toStdWString().c_str());
}

// One thread, so that the writes come one after the other and in order. Never taken down: a
// write still going when the program ends ends with it, and nothing waits for it then.
QThreadPool& Writer() {
  static QThreadPool* pool = [] {
    auto* made = new QThreadPool;
    made->setMaxThreadCount(1);
    return made;
  }();
  return *pool;
}

// Writes what was asked for last, until nothing more is asked for.
void WritePending() {
  for (;;) {
    QList<TTask> tasks;
    {
      const QMutexLocker locker(&Lock);
      if (!Pending)
        break;
      tasks = *std::exchange(Pending, std::nullopt);
    }
    QString failure;
    if (!WriteNow(tasks, &failure))
      Debug(failure);
  }
}

// COM on the calling thread for as long as it lives; a thread that has it already keeps its own.
class TApartment {
public:
  TApartment() : Result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TApartment() {
    if (SUCCEEDED(Result))
      CoUninitialize();
  }
  TApartment(const TApartment&) = delete;
  TApartment& operator=(const TApartment&) = delete;

private:
  HRESULT Result;
};

} // namespace

bool WriteNow(const QList<TTask>& tasks, QString* failure) {
  const TApartment apartment;
  HRESULT result = S_OK;
  TRef<ICustomDestinationList> list(OpenDestinationList(&result));
  if (!list.Get())
    return Failed("CoCreateInstance(DestinationList)", result, failure);
  UINT places = 0;  // how many the jump list shows
  TRef<IObjectArray> removed;
  if (FAILED(result = list->BeginList(&places, __uuidof(IObjectArray), removed.Out())))
    return Failed("ICustomDestinationList::BeginList", result, failure);
  if (AddTasks(list.Get(), tasks, failure))
    return true;
  list->AbortList();
  return false;
}

void Write(const QList<TTask>& tasks) {
  {
    const QMutexLocker locker(&Lock);
    const bool waiting = Pending.has_value();
    Pending = tasks;
    if (waiting)
      return;  // the write that waits takes these
  }
  Writer().start(WritePending);
}

void Flush() { Writer().waitForDone(); }

void SetListSource(TListSource source) {
  const QMutexLocker locker(&Lock);
  ListSource = std::move(source);
}

void SetDebugSink(std::function<void(const QString&)> sink) {
  const QMutexLocker locker(&Lock);
  DebugSink = std::move(sink);
}

} // namespace Platform::JumpList
