// The scenarios that the simulator plays without a script.
#pragma once

#include <string>
#include <vector>

#include "sim/scenario.h"

// "idle", "job", "paper-out", "ribbon-jam", "card-error".
const std::vector<std::string>& BuiltInScenarioNames();
// Fills steps with the named scenario; false for an unknown name.
bool GetBuiltInScenario(const std::string& strName, Scenario& steps);
