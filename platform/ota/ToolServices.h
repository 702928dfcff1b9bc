// The IDE's tool services as the add-in reaches them: the global ToolServices object
// (none when no host offers it) and the operations on it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

class TIToolServices {
public:
    virtual ~TIToolServices() = default;
    // True when the current project was closed (the user may refuse).
    virtual bool CloseProject() = 0;
    // Opens a project file as the IDE's project.
    virtual bool OpenProject(const std::string& fileName) = 0;
    // Opens a file in the editor.
    virtual bool OpenFile(const std::string& fileName) = 0;
};

// The host's tool services, or none. Set by the host when it loads the add-in.
extern TIToolServices* ToolServices;

// Tool services without an IDE: they record what the add-in asked for, in order.
class THeadlessToolServices : public TIToolServices {
public:
    struct Call {
        std::string Operation; // "CloseProject", "OpenProject" or "OpenFile"
        std::string FileName;  // empty for CloseProject
        bool operator==(const Call&) const = default;
    };

    bool CloseProject() override;
    bool OpenProject(const std::string& fileName) override;
    bool OpenFile(const std::string& fileName) override;

    const std::vector<Call>& Calls() const { return FCalls; }
    void ClearCalls() { FCalls.clear(); }
    // What CloseProject answers: false plays a user who refuses to close.
    void SetCloseProjectResult(bool result) { FCloseProjectResult = result; }
    // The project and the files opened so far.
    const std::string& Project() const { return FProject; }
    const std::vector<std::string>& OpenFiles() const { return FOpenFiles; }

private:
    std::vector<Call> FCalls;
    bool FCloseProjectResult = true;
    std::string FProject;
    std::vector<std::string> FOpenFiles;
};

} // namespace vesk
