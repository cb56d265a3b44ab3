/* How long a window's main thread takes to answer: _NET_WM_PING client
 * messages sent to the window; the toolkit answers each from its event loop
 * with the same message sent to the root window.
 *
 *   x11_ping watch WINDOW INTERVAL_MS   until killed, one ping at a time, the
 *                                       next INTERVAL_MS after the last was
 *                                       sent; prints "P sent" when sending and
 *                                       "A sent answered" when answered
 *   x11_ping once WINDOW TIMEOUT_MS     two pings in a row; prints the time the
 *                                       second was answered, or exits 1 after
 *                                       the timeout. Qt answers a ping while it
 *                                       reads its X events, before it hands a
 *                                       key or click read with it to a widget;
 *                                       the second ping comes after that.
 *
 * Times are milliseconds since the epoch, so that a shell can compare them
 * with `date +%s%3N`. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
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

static Display *dpy;
static Window target;
static Atom wm_protocols, net_wm_ping;

/* The toolkit echoes data.l[1]; the process id in its high bits keeps our
 * pings apart from the window manager's and from another x11_ping's. */
static long ping_id(unsigned counter)
{
    return (long)((((unsigned)getpid() & 0x7fffu) << 16) | (counter & 0xffffu));
}

static void send_ping(long id)
{
    XEvent ev;
    memset(&ev, 0, sizeof ev);
    ev.xclient.type = ClientMessage;
    ev.xclient.window = target;
    ev.xclient.message_type = wm_protocols;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)net_wm_ping;
    ev.xclient.data.l[1] = id;
    ev.xclient.data.l[2] = (long)target;
    XSendEvent(dpy, target, False, NoEventMask, &ev);
    XFlush(dpy);
}

/* Waits until the answer to `id` arrives or `deadline` (ms, 0 = never) passes. */
static int wait_answer(long id, long long deadline)
{
    int fd = ConnectionNumber(dpy);
    for (;;) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == ClientMessage && ev.xclient.message_type == wm_protocols &&
                (Atom)ev.xclient.data.l[0] == net_wm_ping && ev.xclient.data.l[1] == id)
                return 1;
        }
        int wait = -1;
        if (deadline) {
            long long left = deadline - now_ms();
            if (left <= 0)
                return 0;
            wait = (int)left;
        }
        struct pollfd p = {fd, POLLIN, 0};
        poll(&p, 1, wait);
    }
}

int main(int argc, char **argv)
{
    if (argc != 4 || (strcmp(argv[1], "watch") && strcmp(argv[1], "once"))) {
        fprintf(stderr, "usage: %s watch WINDOW INTERVAL_MS | once WINDOW TIMEOUT_MS\n", argv[0]);
        return 2;
    }
    dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "x11_ping: cannot open the display\n");
        return 2;
    }
    target = (Window)strtoul(argv[2], NULL, 0);
    long long ms = atoll(argv[3]);
    wm_protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
    net_wm_ping = XInternAtom(dpy, "_NET_WM_PING", False);
    /* The answers go to the root window, to those selecting structure events
     * there (Qt's mask says StructureNotify, the convention SubstructureNotify). */
    XSelectInput(dpy, DefaultRootWindow(dpy), StructureNotifyMask | SubstructureNotifyMask);
    XSync(dpy, False);

    if (!strcmp(argv[1], "once")) {
        long long deadline = now_ms() + ms;
        for (unsigned counter = 0; counter < 2; ++counter) {
            send_ping(ping_id(counter));
            if (!wait_answer(ping_id(counter), deadline))
                return 1;
        }
        printf("%lld\n", now_ms());
        return 0;
    }

    setvbuf(stdout, NULL, _IOLBF, 0);
    for (unsigned counter = 1;; ++counter) {
        long id = ping_id(counter);
        long long sent = now_ms();
        printf("P %lld\n", sent);
        send_ping(id);
        wait_answer(id, 0);
        long long answered = now_ms();
        printf("A %lld %lld\n", sent, answered);
        long long next = sent + ms;
        if (next > answered)
            usleep((useconds_t)(next - answered) * 1000);
    }
}
