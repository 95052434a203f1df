// The least a check of a configuration can cost as a whole process: read it with the model, end.
#include "model/ConfigFile.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const vl::ReadResult read = vl::ReadConfigFile(argv[1]);
    vl::FreeSectionRing(read.ring);
    return read.ring ? 0 : 1;
}
