// The widget toolkit VESKA: one include for an application that uses all of it.
#pragma once

#include "toolkit/button.h"
#include "toolkit/checkbox.h"
#include "toolkit/decor.h"
#include "toolkit/events.h"
#include "toolkit/menu.h"
#include "toolkit/object.h"
#include "toolkit/textbuffer.h"
#include "toolkit/textutil.h"
#include "toolkit/theme.h"
