// Vellumin: lists the cookie files of a browser's cookie folder.

#include "application.h"

int main(int argc, char **argv)
{
    return ui::qt::runApplication(argc, argv);
}
