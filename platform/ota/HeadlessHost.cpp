#include "platform/ota/HeadlessHost.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace vesk {

// The screen

TComponent* THeadlessScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount())
        return nullptr;
    return FForms[static_cast<std::size_t>(index)];
}

void THeadlessScreen::AddForm(TComponent* form) {
    if (form && std::find(FForms.begin(), FForms.end(), form) == FForms.end())
        FForms.push_back(form);
}

void THeadlessScreen::RemoveForm(const TComponent* form) {
    std::erase(FForms, form);
}

// The scripted services

THeadlessServices::THeadlessServices(std::shared_ptr<TRegistryFile> store)
    : FStore(std::move(store)) {}

void THeadlessServices::ShowMessage(const std::string& text) {
    FMessages.push_back({text, TMsgDlgType::mtCustom, mbOK, true});
}

TModalResult THeadlessServices::MessageDlg(const std::string& text, TMsgDlgType type,
                                           TMsgDlgButtons buttons) {
    FMessages.push_back({text, type, buttons, false});
    if (!FMessageAnswers.empty()) {
        const TModalResult answer = FMessageAnswers.front();
        FMessageAnswers.pop_front();
        return answer;
    }
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    return mrOk;
}

bool THeadlessServices::SelectDirectory(std::string& directory, TSelectDirOpts options) {
    FDirectoryRequests.push_back({directory, options});
    if (FDirectoryAnswers.empty())
        return false;
    std::optional<std::string> answer = std::move(FDirectoryAnswers.front());
    FDirectoryAnswers.pop_front();
    if (!answer)
        return false;
    directory = std::move(*answer);
    return true;
}

bool THeadlessServices::ExecuteOpenDialog(TOpenDialog& dialog) {
    FOpenDialogs.push_back(dialog);
    if (FOpenAnswers.empty())
        return false;
    std::optional<std::string> answer = std::move(FOpenAnswers.front());
    FOpenAnswers.pop_front();
    if (!answer)
        return false;
    dialog.FileName = std::move(*answer);
    return true;
}

void THeadlessServices::ProcessMessages() {
    ++FProcessMessagesCount;
    if (OnProcessMessages)
        OnProcessMessages();
}

std::shared_ptr<TRegistryFile> THeadlessServices::SettingsStore() {
    // Without a store of its own: the default one as the environment names it now.
    return FStore ? FStore : TRegistryFile::Open(DefaultRegistryFile());
}

std::vector<std::string> THeadlessServices::Errors() const {
    std::vector<std::string> errors;
    for (const TShownMessage& m : FMessages)
        if (m.Type == TMsgDlgType::mtError)
            errors.push_back(m.Text);
    return errors;
}

void THeadlessServices::ClearRecord() {
    FMessages.clear();
    FDirectoryRequests.clear();
    FOpenDialogs.clear();
    FProcessMessagesCount = 0;
}

// The host's objects

namespace {

// An object of the host: tracked while it lives.
template <typename Intf>
class THosted : public Intf, public THostedObject {
public:
    explicit THosted(THeadlessHost* host) {
        Host = host;
        if (Host)
            Host->Track(this);
    }
    ~THosted() override {
        if (Host)
            Host->Untrack(this);
    }
    int References() const override { return this->RefCount(); }
};

// A reference one of the host's objects holds on another: it does not count as handed out.
template <typename T>
class THostRef {
public:
    THostRef() = default;
    // The creation reference of Object becomes the host's.
    static THostRef Adopt(T* object) {
        THostRef ref;
        ref.FObject = object;
        if (object)
            ++object->HostReferences;
        return ref;
    }
    static THostRef Share(T* object) {
        if (object)
            object->AddRef();
        return Adopt(object);
    }
    ~THostRef() { Reset(); }
    THostRef(THostRef&& other) noexcept : FObject(std::exchange(other.FObject, nullptr)) {}
    THostRef& operator=(THostRef&& other) noexcept {
        if (this != &other) {
            Reset();
            FObject = std::exchange(other.FObject, nullptr);
        }
        return *this;
    }
    void Reset() {
        if (T* object = std::exchange(FObject, nullptr)) {
            --object->HostReferences;
            object->Release();
        }
    }
    T* Get() const { return FObject; }
    T* operator->() const { return FObject; }
    explicit operator bool() const { return FObject != nullptr; }

private:
    T* FObject = nullptr;
};

// Hands a kept object out with one reference for its receiver.
template <typename T>
T* HandOut(T* object) {
    if (object)
        object->AddRef();
    return object;
}

std::string ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in || !FileExists(fileName))
        throw EInOutError("Cannot open file \"" + fileName + "\": " + std::strerror(errno));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw EInOutError("Cannot read file \"" + fileName + "\"");
    return text;
}

// The form file beside a unit: same folder and base name, ending .dfm or .lfm in any
// case; "" when there is none.
std::string FormFileBeside(const std::string& unitFile) {
    namespace fs = std::filesystem;
    if (!SameText(ExtractFileExt(unitFile), ".pas"))
        return {};
    const fs::path unit(unitFile);
    const std::string base = unit.stem().string();
    std::error_code error;
    const fs::path dir = unit.has_parent_path() ? unit.parent_path() : fs::path(".");
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if ((SameText(name, base + ".dfm") || SameText(name, base + ".lfm")) &&
            FileExists(it->path().string()))
            return unit.has_parent_path() ? it->path().string() : name;
    }
    return {};
}

} // namespace

class THeadlessEditView final : public THosted<TIEditView> {
public:
    using THosted::THosted;
    void SetPos(int index, TEditPos pos) override {
        Calls.push_back({index, pos});
        if (index == EditViewCursor)
            Cursor = pos;
        else if (index == EditViewTop)
            Top = pos;
    }
    TEditPos GetPos(int index) override { return index == EditViewTop ? Top : Cursor; }

    TEditPos Cursor{1, 1};
    TEditPos Top{1, 1};
    std::vector<THeadlessHost::TSetPos> Calls;
};

class THeadlessEditor final : public THosted<TIEditorInterface> {
public:
    THeadlessEditor(THeadlessHost* host, std::string fileName, std::string text)
        : THosted(host), Name(std::move(fileName)), Text(std::move(text)),
          View(THostRef<THeadlessEditView>::Adopt(new THeadlessEditView(host))) {}
    std::string FileName() override { return Name; }
    TIEditReader* CreateReader() override;
    int GetViewCount() override { return View ? 1 : 0; }
    TIEditView* GetView(int index) override { return index == 0 ? HandOut(View.Get()) : nullptr; }

    std::string Name;
    std::string Text;
    THostRef<THeadlessEditView> View;
    int ReadCount = 0;
};

class THeadlessEditReader final : public THosted<TIEditReader> {
public:
    THeadlessEditReader(THeadlessHost* host, THeadlessEditor* editor)
        : THosted(host), FEditor(THostRef<THeadlessEditor>::Share(editor)) {}
    int GetText(int position, char* buffer, int count) override {
        ++FEditor->ReadCount;
        const std::string& text = FEditor->Text;
        if (position < 0 || count <= 0 || static_cast<std::size_t>(position) >= text.size())
            return 0;
        const std::size_t n = std::min(static_cast<std::size_t>(count),
                                       text.size() - static_cast<std::size_t>(position));
        std::memcpy(buffer, text.data() + position, n);
        return static_cast<int>(n);
    }

private:
    THostRef<THeadlessEditor> FEditor;
};

TIEditReader* THeadlessEditor::CreateReader() {
    return new THeadlessEditReader(Host, this);
}

class THeadlessForm;

class THeadlessComponent final : public THosted<TIComponentInterface> {
public:
    THeadlessComponent(THeadlessHost* host, THeadlessForm* form, TComponent* component);
    std::string GetComponentType() override { return FComponent->ClassName(); }
    bool GetPropValueByName(const std::string& name, std::string& value) override {
        return ComponentPropValueByName(*FComponent, name, value);
    }

private:
    THostRef<THeadlessForm> FForm; // keeps the component model alive
    TComponent* FComponent;
};

class THeadlessForm final : public THosted<TIFormInterface> {
public:
    THeadlessForm(THeadlessHost* host, std::string fileName, std::unique_ptr<TFormFile> file)
        : THosted(host), Name(std::move(fileName)), File(std::move(file)) {}
    std::string FileName() override { return Name; }
    TIComponentInterface* GetFormComponent() override {
        TComponent* root = File ? File->Root() : nullptr;
        return root ? new THeadlessComponent(Host, this, root) : nullptr;
    }

    std::string Name;
    std::unique_ptr<TFormFile> File;
};

THeadlessComponent::THeadlessComponent(THeadlessHost* host, THeadlessForm* form,
                                       TComponent* component)
    : THosted(host), FForm(THostRef<THeadlessForm>::Share(form)), FComponent(component) {}

class THeadlessModule final : public THosted<TIModuleInterface> {
public:
    THeadlessModule(THeadlessHost* host, std::string fileName, std::string text,
                    std::unique_ptr<TFormFile> form, std::string formFileName)
        : THosted(host), Name(fileName),
          Editor(THostRef<THeadlessEditor>::Adopt(
              new THeadlessEditor(host, std::move(fileName), std::move(text)))) {
        if (form)
            Form = THostRef<THeadlessForm>::Adopt(
                new THeadlessForm(host, std::move(formFileName), std::move(form)));
    }
    TIEditorInterface* GetEditorInterface() override { return HandOut(Editor.Get()); }
    TIFormInterface* GetFormInterface() override { return HandOut(Form.Get()); }
    bool ShowForm() override {
        ++ShowFormCount;
        return Form && Host && Host->ShowDesigner(Name);
    }
    TComponent* FormRoot() const { return Form && Form->File ? Form->File->Root() : nullptr; }

    std::string Name;
    THostRef<THeadlessEditor> Editor;
    THostRef<THeadlessForm> Form;
    int ShowFormCount = 0;
};

class THeadlessMenuItem final : public THosted<TIMenuItemIntf> {
public:
    THeadlessMenuItem(THeadlessHost* host, THeadlessMenuItem* parent)
        : THosted(host), Parent(parent) {}
    ~THeadlessMenuItem() override {
        for (auto& item : Items)
            item->Parent = nullptr;
    }

    int GetItemCount() override { return static_cast<int>(Items.size()); }
    TIMenuItemIntf* GetItem(int index) override {
        if (index < 0 || index >= GetItemCount())
            return nullptr;
        return HandOut(Items[static_cast<std::size_t>(index)].Get());
    }
    TIMenuItemIntf* GetParent() override { return HandOut(Parent); }
    int GetIndex() override {
        if (!Parent)
            return -1;
        for (std::size_t i = 0; i < Parent->Items.size(); ++i)
            if (Parent->Items[i].Get() == this)
                return static_cast<int>(i);
        return -1;
    }
    TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                               const std::string& hint, TShortCut shortCut, int context,
                               int groupIndex, TIMenuFlags flags,
                               TIMenuClickEvent onClick) override {
        auto* item = new THeadlessMenuItem(Host, this);
        item->Caption = caption;
        item->Name = name;
        item->Hint = hint;
        item->ShortCut = shortCut;
        item->Context = context;
        item->GroupIndex = groupIndex;
        item->Flags = flags;
        item->OnClick = std::move(onClick);
        const auto at = static_cast<std::size_t>(std::clamp(index, 0, GetItemCount()));
        Items.insert(Items.begin() + static_cast<std::ptrdiff_t>(at),
                     THostRef<THeadlessMenuItem>::Adopt(item));
        return HandOut(item);
    }
    bool DestroyMenuItem() override {
        if (!Parent)
            return false;
        THostRef<THeadlessMenuItem> self = THostRef<THeadlessMenuItem>::Share(this);
        THeadlessMenuItem* parent = std::exchange(Parent, nullptr);
        std::erase_if(parent->Items, [this](const auto& item) { return item.Get() == this; });
        return true;
    }
    std::string GetCaption() override { return Caption; }
    std::string GetName() override { return Name; }
    std::string GetHint() override { return Hint; }
    TShortCut GetShortCut() override { return ShortCut; }
    int GetContext() override { return Context; }
    int GetGroupIndex() override { return GroupIndex; }
    TIMenuFlags GetFlags() override { return Flags; }
    void SetCaption(const std::string& caption) override { Caption = caption; }
    void SetFlags(TIMenuFlags mask, TIMenuFlags flags) override {
        Flags = (Flags & ~mask) | (flags & mask);
    }

    bool Pickable() const { return (Flags & mfEnabled) && (Flags & mfVisible); }
    void Click() {
        THostRef<THeadlessMenuItem> self = THostRef<THeadlessMenuItem>::Share(this);
        if (OnClick)
            OnClick(this);
    }
    THeadlessMenuItem* Find(const std::string& caption) const {
        for (const auto& item : Items)
            if (item->Caption == caption)
                return item.Get();
        return nullptr;
    }
    THeadlessMenuItem* FindByName(const std::string& name) const {
        for (const auto& item : Items) {
            if (SameText(item->Name, name))
                return item.Get();
            if (THeadlessMenuItem* below = item->FindByName(name))
                return below;
        }
        return nullptr;
    }

    THeadlessMenuItem* Parent; // none for the top-level list and removed items
    std::vector<THostRef<THeadlessMenuItem>> Items;
    std::string Caption, Name, Hint;
    TShortCut ShortCut = 0;
    int Context = 0, GroupIndex = 0;
    TIMenuFlags Flags = mfEnabled | mfVisible;
    TIMenuClickEvent OnClick;
};

class THeadlessMainMenu final : public THosted<TIMainMenuIntf> {
public:
    explicit THeadlessMainMenu(THeadlessHost* host)
        : THosted(host),
          Items(THostRef<THeadlessMenuItem>::Adopt(new THeadlessMenuItem(host, nullptr))) {}
    TIMenuItemIntf* GetMenuItems() override {
        return ItemsAvailable ? HandOut(Items.Get()) : nullptr;
    }

    THostRef<THeadlessMenuItem> Items;
    bool ItemsAvailable = true;
};

// The host

THeadlessHost::THeadlessHost(std::shared_ptr<TRegistryFile> settings)
    : FServices(std::move(settings)), FPreviousServices(InstalledHostServices()),
      FPreviousTools(ToolServices), FPreviousExperts(ExpertHost()) {
    FMainMenu = new THeadlessMainMenu(this);
    ++FMainMenu->HostReferences;
    SetHostServices(&FServices);
    ToolServices = this;
    SetExpertHost(this);
}

THeadlessHost::~THeadlessHost() {
    ReleaseExperts(); // while the host still serves them: they may store settings
    SetExpertHost(FPreviousExperts);
    ToolServices = FPreviousTools;
    SetHostServices(FPreviousServices);
    for (THeadlessModule* module : FModules) {
        --module->HostReferences;
        module->Release();
    }
    FModules.clear();
    --FMainMenu->HostReferences;
    FMainMenu->Release();
    // What the add-in still holds lives on without its host.
    for (THostedObject* object : FTracked)
        object->Host = nullptr;
}

TIMainMenuIntf* THeadlessHost::GetMainMenu() {
    if (!FMainMenuAvailable)
        return nullptr;
    FMainMenu->ItemsAvailable = FMenuItemsAvailable;
    return HandOut(FMainMenu);
}

TIModuleInterface* THeadlessHost::GetModuleInterface(const std::string& fileName) {
    FModuleRequests.push_back(fileName);
    return HandOut(Module(fileName));
}

bool THeadlessHost::CloseProject() {
    FCalls.push_back({"CloseProject", {}});
    if (FCloseProjectResult)
        FProject.clear();
    return FCloseProjectResult;
}

bool THeadlessHost::OpenProject(const std::string& fileName) {
    FCalls.push_back({"OpenProject", fileName});
    if (!FileExists(fileName)) {
        FServices.MessageDlg("File " + fileName + " not found", TMsgDlgType::mtError, mbOK);
        return false;
    }
    FProject = fileName;
    return true;
}

bool THeadlessHost::OpenFile(const std::string& fileName) {
    FCalls.push_back({"OpenFile", fileName});
    if (!Module(fileName)) {
        try {
            OpenModule(fileName);
        } catch (const Exception& e) {
            FServices.MessageDlg(e.Message(), TMsgDlgType::mtError, mbOK);
            return false;
        }
    }
    FCurrentFile = Module(fileName)->Name;
    if (std::find(FOpenFiles.begin(), FOpenFiles.end(), fileName) == FOpenFiles.end())
        FOpenFiles.push_back(fileName);
    return true;
}

// Modules

THeadlessModule* THeadlessHost::Module(const std::string& fileName) const {
    for (THeadlessModule* module : FModules)
        if (SameText(module->Name, fileName))
            return module;
    return nullptr;
}

THeadlessModule& THeadlessHost::ExistingModule(const std::string& fileName) const {
    THeadlessModule* module = Module(fileName);
    if (!module)
        throw Exception("No module \"" + fileName + "\" is open");
    return *module;
}

void THeadlessHost::InsertModule(const std::string& fileName, std::string text,
                                 std::unique_ptr<TFormFile> form, std::string formFileName) {
    CloseModule(fileName);
    auto* module = new THeadlessModule(this, fileName, std::move(text), std::move(form),
                                       std::move(formFileName));
    ++module->HostReferences;
    FModules.push_back(module);
    FCurrentFile = fileName;
}

void THeadlessHost::OpenModule(const std::string& fileName) {
    std::string text = ReadWholeFile(fileName);
    const std::string formFile = FormFileBeside(fileName);
    std::unique_ptr<TFormFile> form;
    if (!formFile.empty())
        form = TFormFile::LoadFromFile(formFile);
    InsertModule(fileName, std::move(text), std::move(form), formFile);
}

void THeadlessHost::AddModule(const std::string& fileName, std::string text,
                              std::unique_ptr<TFormFile> form) {
    std::string formFile;
    if (form)
        formFile = fileName.substr(0, fileName.size() - ExtractFileExt(fileName).size()) + ".dfm";
    InsertModule(fileName, std::move(text), std::move(form), formFile);
}

void THeadlessHost::CloseModule(const std::string& fileName) {
    THeadlessModule* module = Module(fileName);
    if (!module)
        return;
    if (TComponent* root = module->FormRoot())
        FServices.Screen().RemoveForm(root);
    if (SameText(FCurrentFile, module->Name) ||
        (module->Form && SameText(FCurrentFile, module->Form->Name)))
        FCurrentFile.clear();
    std::erase(FModules, module);
    --module->HostReferences;
    module->Release();
}

bool THeadlessHost::HasModule(const std::string& fileName) const {
    return Module(fileName) != nullptr;
}

bool THeadlessHost::ShowDesigner(const std::string& fileName) {
    THeadlessModule& module = ExistingModule(fileName);
    TComponent* root = module.FormRoot();
    if (!root)
        return false;
    FServices.Screen().AddForm(root);
    FCurrentFile = module.Form->Name;
    return true;
}

void THeadlessHost::CloseDesigner(const std::string& fileName) {
    if (TComponent* root = ExistingModule(fileName).FormRoot())
        FServices.Screen().RemoveForm(root);
}

const std::string& THeadlessHost::EditorText(const std::string& fileName) const {
    return ExistingModule(fileName).Editor->Text;
}

void THeadlessHost::SetEditorText(const std::string& fileName, std::string text) {
    ExistingModule(fileName).Editor->Text = std::move(text);
}

TEditPos THeadlessHost::CursorPos(const std::string& fileName) const {
    return ExistingModule(fileName).Editor->View->Cursor;
}

TEditPos THeadlessHost::TopPos(const std::string& fileName) const {
    return ExistingModule(fileName).Editor->View->Top;
}

const std::vector<THeadlessHost::TSetPos>&
THeadlessHost::SetPosCalls(const std::string& fileName) const {
    return ExistingModule(fileName).Editor->View->Calls;
}

int THeadlessHost::ReadCount(const std::string& fileName) const {
    return ExistingModule(fileName).Editor->ReadCount;
}

int THeadlessHost::ShowFormCount(const std::string& fileName) const {
    return ExistingModule(fileName).ShowFormCount;
}

TComponent* THeadlessHost::FormRoot(const std::string& fileName) const {
    return ExistingModule(fileName).FormRoot();
}

// The menu

void THeadlessHost::AddMainMenu(const std::string& caption, const std::string& name) {
    THeadlessMenuItem& list = *FMainMenu->Items.Get();
    TInterface::Free(list.InsertItem(list.GetItemCount(), caption, name, {}, 0, 0, 0,
                                     mfEnabled | mfVisible, {}));
}

TIMenuItemIntf* THeadlessHost::FindMenuItem(const std::vector<std::string>& captions) const {
    THeadlessMenuItem* item = FMainMenu->Items.Get();
    for (const std::string& caption : captions)
        if (!item || !(item = item->Find(caption)))
            return nullptr;
    return item;
}

TIMenuItemIntf* THeadlessHost::FindMenuItemByName(const std::string& name) const {
    return FMainMenu->Items->FindByName(name);
}

std::vector<std::string>
THeadlessHost::MenuCaptions(const std::vector<std::string>& captions) const {
    std::vector<std::string> result;
    if (auto* item = static_cast<THeadlessMenuItem*>(FindMenuItem(captions)))
        for (const auto& below : item->Items)
            result.push_back(below->Caption);
    return result;
}

bool THeadlessHost::PickMenuItem(const std::vector<std::string>& captions) {
    auto* item = static_cast<THeadlessMenuItem*>(FindMenuItem(captions));
    if (captions.empty() || !item || !item->Pickable())
        return false;
    RunHandler([item] { item->Click(); });
    return true;
}

// Experts

void THeadlessHost::RegisterExpert(TIExpert* expert) {
    FExperts.push_back(expert);
}

void THeadlessHost::ReleaseExperts() {
    while (!FExperts.empty()) {
        TIExpert* expert = FExperts.back();
        FExperts.pop_back();
        expert->Free();
    }
}

// References

int THeadlessHost::HandedOut() const {
    int count = 0;
    for (const THostedObject* object : FTracked)
        count += object->References() - object->HostReferences;
    return count;
}

} // namespace vesk
