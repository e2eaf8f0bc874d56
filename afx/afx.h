// The application-framework layer: one umbrella over every area.
#pragma once
#include <windows.h>
