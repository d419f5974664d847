/* The cells of the workbook benchmark written by direct libxlsxwriter calls, in a process of
 * its own: libxlsxwriter and QuaZip cannot share one (their minizip symbols collide).
 * Usage: bench_xlsxwriter_brut FILE ROWS COLUMNS; prints the seconds taken. */

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <xlsxwriter.h>

int main(int argc, char **argv)
{
    if (argc != 4) return 2;
    const int lignes = atoi(argv[2]), colonnes = atoi(argv[3]);
    struct timespec debut, fin;
    clock_gettime(CLOCK_MONOTONIC, &debut);
    lxw_workbook *wb = workbook_new(argv[1]);
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Mesures");
    char texte[32];
    for (int l = 0; l < lignes; ++l) {
        for (int c = 0; c < colonnes; ++c) {
            if (c % 4 == 0) {
                snprintf(texte, sizeof texte, "S%05d-%d", l % 5000, c);
                worksheet_write_string(ws, (lxw_row_t)l, (lxw_col_t)c, texte, NULL);
            } else {
                worksheet_write_number(ws, (lxw_row_t)l, (lxw_col_t)c, l * 0.5 + c, NULL);
            }
        }
    }
    if (workbook_close(wb) != LXW_NO_ERROR) return 1;
    clock_gettime(CLOCK_MONOTONIC, &fin);
    printf("%.6f\n", (double)(fin.tv_sec - debut.tv_sec) + (fin.tv_nsec - debut.tv_nsec) / 1e9);
    return 0;
}
