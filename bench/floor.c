// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

/* The floor for generating a link page: walk a folder tree with readdir, read
 * every *.url file whole, and write one line per file to the output. No
 * parsing, sorting or encoding: a page generator cannot beat this by much.
 *
 *   cc -O2 -o floor floor.c && ./floor ROOT OUT
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

static FILE *out;
static long files, bytes;

static int is_url(const char *name) {
    size_t n = strlen(name);
    return n >= 4 && strcasecmp(name + n - 4, ".url") == 0;
}

static void walk(int dirfd, const char *path) {
    DIR *d = fdopendir(dirfd);
    if (!d) { close(dirfd); return; }
    struct dirent *e;
    char buf[65536];
    while ((e = readdir(d))) {
        if (e->d_name[0] == '.') continue;
        if (e->d_type == DT_DIR) {
            int fd = openat(dirfd, e->d_name, O_RDONLY | O_DIRECTORY);
            if (fd >= 0) {
                char sub[4096];
                snprintf(sub, sizeof sub, "%s/%s", path, e->d_name);
                fprintf(out, "<div class=\"FolderName\">\r\n\t%s\r\n</div>\r\n", sub);
                walk(fd, sub);
            }
        } else if (is_url(e->d_name)) {
            int fd = openat(dirfd, e->d_name, O_RDONLY);
            if (fd < 0) continue;
            ssize_t n = read(fd, buf, sizeof buf - 1);
            close(fd);
            if (n < 0) n = 0;
            buf[n] = 0;
            files++; bytes += n;
            char *url = strstr(buf, "URL=");
            char *eol = url ? strpbrk(url, "\r\n") : NULL;
            if (eol) *eol = 0;
            fprintf(out, "<div class=\"FileList\">\r\n\t<a href=\"%s\" target=\"_blank\">%s</a>\r\n</div>\r\n",
                    url ? url + 4 : "", e->d_name);
        }
    }
    closedir(d);
}

int main(int argc, char **argv) {
    if (argc != 3) { fprintf(stderr, "usage: floor ROOT OUT\n"); return 2; }
    out = fopen(argv[2], "w");
    int fd = open(argv[1], O_RDONLY | O_DIRECTORY);
    if (!out || fd < 0) { perror("floor"); return 1; }
    walk(fd, "");
    fclose(out);
    fprintf(stderr, "%ld files, %ld bytes\n", files, bytes);
    return 0;
}
