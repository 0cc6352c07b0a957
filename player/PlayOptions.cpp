#include "PlayOptions.h"

PlayOptions playOptions;
