#include "shell/program.h"
