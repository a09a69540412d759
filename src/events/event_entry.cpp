#include "events/event_entry.h"
