#include "events/event_file.h"
