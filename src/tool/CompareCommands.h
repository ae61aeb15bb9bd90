#pragma once

// hkftool diff and check.

#include "ToolSupport.h"

namespace hmk::tool {

// diff A B, diff A --factory, diff A --last, each with --json.
int diff(Context& ctx, const QStringList& args);
// check FILE... [--json]
int check(Context& ctx, const QStringList& args);

} // namespace hmk::tool
