#include "platform/ota/ToolServices.h"

#include <algorithm>

namespace vesk {

TIToolServices* ToolServices = nullptr;

bool THeadlessToolServices::CloseProject() {
    FCalls.push_back({"CloseProject", {}});
    if (FCloseProjectResult)
        FProject.clear();
    return FCloseProjectResult;
}

bool THeadlessToolServices::OpenProject(const std::string& fileName) {
    FCalls.push_back({"OpenProject", fileName});
    FProject = fileName;
    return true;
}

bool THeadlessToolServices::OpenFile(const std::string& fileName) {
    FCalls.push_back({"OpenFile", fileName});
    if (std::find(FOpenFiles.begin(), FOpenFiles.end(), fileName) == FOpenFiles.end())
        FOpenFiles.push_back(fileName);
    return true;
}

} // namespace vesk
