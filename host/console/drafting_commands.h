// The host's drafting commands that finish a sheet: TEXT, MIRROR, ROTATE and CHPROP.
#pragma once

#include <string>
#include <vector>

namespace host {

bool CmdText(const std::vector<std::string>& args);
bool CmdMirror(const std::vector<std::string>& args);
bool CmdRotate(const std::vector<std::string>& args);
bool CmdChprop(const std::vector<std::string>& args);

}  // namespace host
