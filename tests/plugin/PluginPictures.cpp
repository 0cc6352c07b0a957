// A viewer's thumbnail pass, for pictures of the user guide: asks the plug-in
// for the picture of each file and writes it beside the file as NAME.bmp.
//   plugin_pictures FILE...
// Exit code: the number of files without a picture.
#include "PluginHost.h"

int main(int argc, char** argv)
{
    PluginHost host;
    if (!host.loaded())
        return 255;
    int missing = 0;
    for (int i = 1; i < argc; ++i)
        missing += !saveAsBmp(host.picture(argv[i]), std::string(argv[i]) + ".bmp");
    return missing;
}
