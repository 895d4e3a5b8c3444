// Tavrix: one main window over the party file beside the executable. No arguments, no
// settings; closing the main window ends the program.
#include "forms/Unit1.h"
#include "ui/Application.h"

int main(int argc, char** argv)
{
    ui::Application application(argc, argv);
    TForm1 Form1;
    Form1.show();
    return application.exec();
}
