// Bytes.h is header-only; this unit gives the host library a member.
#include "Bytes.h"
