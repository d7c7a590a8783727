// The commands of orvpaint; each returns the process exit status.
#pragma once
#include <string>
#include <vector>

namespace orvpaint {

int cmdPlay(const std::vector<std::string>& args);
int cmdDemo(const std::vector<std::string>& args);
int cmdCompose(const std::vector<std::string>& args);
int cmdInfo(const std::vector<std::string>& args);

// The script "demo" plays.
const char* demoScript();

}  // namespace orvpaint
