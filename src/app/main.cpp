#include "app/appdelegate.h"

using namespace kestrune;

int main(int argc, char **argv)
{
    return AppDelegate::run(argc, argv);
}
