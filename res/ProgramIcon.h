#pragma once

#include "platform/Resources.h"

IconResource ProgramIcon(unsigned id);
