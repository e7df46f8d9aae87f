/* Stands in for MSINFO32 in windows-test.sh: shows that the about box started it. */
#include <stdio.h>

int main(void)
{
    FILE *file = fopen("C:\\system-info-started.txt", "w");
    if (!file)
        return 1;
    fputs("started\n", file);
    return fclose(file) == 0 ? 0 : 1;
}
