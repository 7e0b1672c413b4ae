// The program's entry point; the whole sequence lives in the main window's library.
#include "AppStartup.h"

int main(int argc, char **argv)
{
    return AppStartup::run(argc, argv);
}
