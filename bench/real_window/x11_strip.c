/* Reads a rectangle of a window's pixels from the X server, which answers
 * whatever the window's own program is doing.
 *
 *   x11_strip grab WINDOW X Y W H FILE        writes the pixels to FILE
 *   x11_strip until equal|differ WINDOW X Y W H FILE TIMEOUT_MS
 *                                             looks every 10 ms until the pixels
 *                                             equal (or differ from) FILE; prints
 *                                             the time (ms since the epoch) or
 *                                             exits 1 after the timeout
 *   x11_strip runs WINDOW X REFX GAP          the runs of rows where column X
 *                                             differs from column REFX (the
 *                                             background), gaps up to GAP rows
 *                                             closed; one "top bottom" a line;
 *                                             finds the buttons and panes
 *   x11_strip shot WINDOW FILE.ppm            the whole window as a picture */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/time.h>
#include <unistd.h>

static long long now_ms(void)
{
    struct timeval tv;
    gettimeofday(&tv, NULL);
    return (long long)tv.tv_sec * 1000 + tv.tv_usec / 1000;
}

/* The rectangle as 0xRRGGBB values, row by row; NULL when it cannot be read. */
static unsigned long *grab(Display *dpy, Window w, int x, int y, int width, int height)
{
    XImage *img = XGetImage(dpy, w, x, y, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
    if (!img)
        return NULL;
    unsigned long *px = malloc(sizeof *px * (size_t)width * (size_t)height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            px[r * width + c] = XGetPixel(img, c, r) & 0xffffff;
    XDestroyImage(img);
    return px;
}

static int ignore_errors(Display *dpy, XErrorEvent *e)
{
    (void)dpy;
    (void)e;
    return 0;
}

int main(int argc, char **argv)
{
    Display *dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "x11_strip: cannot open the display\n");
        return 2;
    }
    /* A window being unmapped or resized makes XGetImage fail: that is a miss, not the end. */
    XSetErrorHandler(ignore_errors);

    if (argc == 4 && !strcmp(argv[1], "shot")) {
        Window w = (Window)strtoul(argv[2], NULL, 0);
        XWindowAttributes a;
        if (!XGetWindowAttributes(dpy, w, &a))
            return 1;
        unsigned long *px = grab(dpy, w, 0, 0, a.width, a.height);
        FILE *f = fopen(argv[3], "wb");
        if (!px || !f)
            return 1;
        fprintf(f, "P6\n%d %d\n255\n", a.width, a.height);
        for (long i = 0; i < (long)a.width * a.height; ++i) {
            unsigned char rgb[3] = {(unsigned char)(px[i] >> 16), (unsigned char)(px[i] >> 8), (unsigned char)px[i]};
            fwrite(rgb, 1, 3, f);
        }
        return fclose(f) ? 1 : 0;
    }
    if (argc == 8 && !strcmp(argv[1], "grab")) {
        Window w = (Window)strtoul(argv[2], NULL, 0);
        int x = atoi(argv[3]), y = atoi(argv[4]), width = atoi(argv[5]), height = atoi(argv[6]);
        unsigned long *px = grab(dpy, w, x, y, width, height);
        FILE *f = fopen(argv[7], "wb");
        if (!px || !f)
            return 1;
        fwrite(px, sizeof *px, (size_t)width * (size_t)height, f);
        return fclose(f) ? 1 : 0;
    }
    if (argc == 10 && !strcmp(argv[1], "until") && (!strcmp(argv[2], "equal") || !strcmp(argv[2], "differ"))) {
        int want_equal = !strcmp(argv[2], "equal");
        Window w = (Window)strtoul(argv[3], NULL, 0);
        int x = atoi(argv[4]), y = atoi(argv[5]), width = atoi(argv[6]), height = atoi(argv[7]);
        size_t n = (size_t)width * (size_t)height;
        unsigned long *ref = malloc(sizeof *ref * n);
        FILE *f = fopen(argv[8], "rb");
        if (!f || fread(ref, sizeof *ref, n, f) != n) {
            fprintf(stderr, "x11_strip: %s is not a strip of that size\n", argv[8]);
            return 2;
        }
        fclose(f);
        long long deadline = now_ms() + atoll(argv[9]);
        for (;;) {
            unsigned long *px = grab(dpy, w, x, y, width, height);
            if (px) {
                int equal = !memcmp(px, ref, sizeof *ref * n);
                free(px);
                if (equal == want_equal) {
                    printf("%lld\n", now_ms());
                    return 0;
                }
            }
            if (now_ms() >= deadline)
                return 1;
            usleep(10000);
        }
    }
    if (argc == 6 && !strcmp(argv[1], "runs")) {
        Window w = (Window)strtoul(argv[2], NULL, 0);
        int x = atoi(argv[3]), refx = atoi(argv[4]), gap = atoi(argv[5]);
        XWindowAttributes a;
        if (!XGetWindowAttributes(dpy, w, &a))
            return 1;
        unsigned long *col = grab(dpy, w, x, 0, 1, a.height);
        unsigned long *ref = grab(dpy, w, refx, 0, 1, a.height);
        if (!col || !ref)
            return 1;
        int top = -1, bottom = -1;
        for (int y = 0; y <= a.height; ++y) {
            int differs = y < a.height && col[y] != ref[y];
            if (differs) {
                if (top >= 0 && y - bottom - 1 > gap) {
                    printf("%d %d\n", top, bottom);
                    top = -1;
                }
                if (top < 0)
                    top = y;
                bottom = y;
            }
        }
        if (top >= 0)
            printf("%d %d\n", top, bottom);
        return 0;
    }
    fprintf(stderr, "usage: %s grab WINDOW X Y W H FILE | until equal|differ WINDOW X Y W H FILE TIMEOUT_MS"
                    " | runs WINDOW X REFX GAP | shot WINDOW FILE.ppm\n", argv[0]);
    return 2;
}
