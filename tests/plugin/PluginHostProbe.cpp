// A second viewer process: asks the plug-in whether it takes the file named
// by the first argument and answers the verdict as its exit code (2 when the
// plug-in does not load).
#include "PluginHost.h"

int main(int argc, char** argv)
{
    PluginHost host;
    if (argc < 2 || !host.loaded())
        return 2;
    return host.isSupportedWithHead(argv[1]);
}
