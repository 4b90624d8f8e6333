#include "app/appdelegate.h"

int main(int argc, char **argv)
{
    return AppDelegate::run(argc, argv);
}
