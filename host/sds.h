/* sds.h - the C interface between the CAD host and an add-on module.
 *
 * Everything the module knows of the drawing, the command line and the user's input goes
 * through these declarations. Result buffers ("resbuf") are the host's linked lists of
 * DXF-coded values; whoever builds or receives a list releases it with sds_relrb.
 * No function here lets a C++ exception out, except these, which unwind the module with
 * host::HostShutdown (the program's main catches it):
 *  - sds_link and sds_exit, when the host shuts down;
 *  - the input functions (sds_getpoint, sds_getreal, sds_getint, sds_getkword,
 *    sds_getstring, sds_entsel, sds_nentselp, sds_draggen), when the input has ended and a
 *    caller keeps asking: every read after the end is answered with Esc until a fixed number
 *    of them has been reached, then the host cuts the command off, so that a loop that asks
 *    again on Esc cannot hang the program. Module code that must put things back (an undo
 *    group, a disabled panel) does so in destructors, which the unwinding runs. */
#ifndef ARMAVO_HOST_SDS_H
#define ARMAVO_HOST_SDS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Result codes ---- */
#define RTNORM 5100 /* request succeeded */
#define RTNONE 5000 /* no result (Enter at a prompt); also ends sds_buildlist and sds_command */
#define RTREJ (-5003)
#define RTFAIL (-5004)
#define RTERROR (-5001)
#define RTCAN (-5002)   /* user pressed Esc */
#define RTKWORD (-5005) /* a keyword or arbitrary text was typed; read it with sds_getinput */

/* ---- Value-type codes of result buffers (besides DXF group codes) ---- */
#define RTREAL 5001
#define RTPOINT 5002 /* 2D point: x, y (z is carried but ignored) */
#define RTSHORT 5003
#define RTANG 5004
#define RTSTR 5005
#define RTENAME 5006
#define RTPICKS 5007 /* selection set name */
#define RTORINT 5008
#define RT3DPOINT 5009
#define RTLONG 5010
#define RTVOID 5014
#define RTLB 5016
#define RTLE 5017
#define RTDOTE 5018
#define RTNIL 5019
#define RTDXF0 5020 /* the entity-type entry of a list (group 0) */
#define RTT 5021

/* ---- Link request and reply codes ---- */
#define RQXLOAD 100
#define RQSUBR 102
#define RQEND 15
#define RQQUIT 16
#define RQXUNLD 101
#define RSRSLT 1
#define RSERR 3

/* ---- sds_initget flags ---- */
#define SDS_RSG_NONULL 1  /* Enter is refused */
#define SDS_RSG_NOZERO 2  /* zero is refused */
#define SDS_RSG_NONEG 4   /* negative numbers are refused */
#define SDS_RSG_OTHER 128 /* any other text gives RTKWORD */

/* ---- sds_osnap and OSMODE bits ---- */
#define SDS_OSMODE_SUSPEND 16384

typedef double sds_real;
typedef sds_real sds_point[3];
typedef long sds_name[2];
typedef sds_real sds_matrix[4][4];
typedef void* sds_hwnd; /* a window of the window framework (platform::Window*) */

struct sds_binary {
    short clen;
    char* buf;
};

union resval {
    sds_real rreal;
    sds_real rpoint[3];
    short rint; /* 16-bit */
    char* rstring;
    long rlname[2];
    int32_t rlong; /* 32-bit */
    struct sds_binary rbinary;
};

struct resbuf {
    struct resbuf* rbnext;
    short restype;
    union resval resval;
};

/* ---- Link with the host ---- */
int SDS_GetGlobals(char* appName /* at least 512 bytes */, sds_hwnd* mainWindow, void** instance);
int sds_init(int argc, char* argv[]);
int sds_link(int replyCode); /* the next request code */
int sds_defun(const char* name, short funcCode);
int sds_getfuncode(void);
struct resbuf* sds_getargs(void);
int sds_fail(const char* message);
void sds_exit(int status); /* does not return */
int sds_rett(void);
int sds_retvoid(void);
int sds_retnil(void);
int sds_help(const char* helpFile, const char* topic, int command);
/* This host's extension: the module writes the files of a kind that EXPORT is given.
 * sds_defexport: EXPORT of a file whose name ends in "." and `extension` (letters and digits,
 * any case; not the host's own "svg" or "dxf") becomes a function request with `funcCode`,
 * whose sds_getargs list is ("EXPORT" path). During that request the module hands the file's
 * bytes with sds_exportdata (calls append); the host then writes them as it saves a drawing
 * (a temporary file renamed over the target). A request that fails (RSERR) or hands nothing
 * writes nothing, and the EXPORT fails. RTNORM, or RTERROR when refused. */
int sds_defexport(const char* extension, short funcCode);
int sds_exportdata(const char* data, long length);

/* ---- Result-buffer lists ---- */
struct resbuf* sds_buildlist(int restype, ...); /* type/value pairs ended by RTNONE or 0 */
struct resbuf* sds_newrb(int restype);
int sds_relrb(struct resbuf* list);

/* ---- Entities and objects ---- */
int sds_entmake(const struct resbuf* list);
int sds_entmakex(const struct resbuf* list, sds_name result);
struct resbuf* sds_entget(const sds_name entity);
int sds_entmod(const struct resbuf* list);
int sds_entdel(const sds_name entity); /* deletes, or restores an entity deleted earlier */
int sds_entlast(sds_name result);
int sds_entnext(const sds_name entity /* null or {0,0}: the first */, sds_name result);
int sds_handent(const char* handle, sds_name result);
int sds_redraw(const sds_name entity, int mode); /* 3 highlight, 4 unhighlight */

/* ---- Tables and dictionaries ---- */
struct resbuf* sds_tblsearch(const char* table, const char* name, int setNext);
int sds_namedobjdict(sds_name result);
struct resbuf* sds_dictsearch(const sds_name dict, const char* key, int setNext);
int sds_dictadd(const sds_name dict, const char* key, const sds_name object);
int sds_dictdel(const sds_name dict, const char* key);
/* This host's extension: the first key made of `prefix` and a whole number 0, 1, 2, ...
 * (written without leading zeros) that the dictionary does not hold, keys compared as
 * sds_dictsearch compares them (ASCII case ignored); written to `key`, which has room for
 * `size` bytes. For naming anonymous entries ("*A0", "*A1", ...) without reading the whole
 * dictionary. RTNORM, or RTERROR when there is no such dictionary or no room. */
int sds_dictfreekey(const sds_name dict, const char* prefix, char* key, int size);
/* This host's extension: the live objects (dictionaries, XRECORDs and other non-graphical
 * objects; not entities, tables or their entries) that nothing owns - no owner, or an owner
 * that is no longer in the drawing at all - other than the named object dictionary, in order
 * of creation, as a new list of RTENAME nodes (release it with sds_relrb); `*names` null when
 * there are none. What a dictionary entry was removed from stays so until it is erased, and a
 * file keeps it with owner 0. RTNORM, or RTERROR when `names` is null. */
int sds_unownedobjects(struct resbuf** names);

/* ---- Selection sets ---- */
int sds_ssget(const char* mode, const void* point1, const void* point2, const struct resbuf* filter,
              sds_name result);
/* This host's extension: a new set of the live entities, in order of creation, whose extension
 * dictionary files an XRECORD (directly) holding a text group equal to `value`, compared
 * exactly, together with the live entity whose handle is `value` (upper case, as entget
 * gives it): an entity and whatever refers to it through records. Only texts of 1 to 16
 * hexadecimal digits - handles as records name them - are looked up; the host keeps them
 * indexed, so the cost does not grow with the drawing. RTNORM, or RTERROR and `result`
 * {0,0} when there is no such entity (or `value` is not such a text). */
int sds_ssgetrecordref(const char* value, sds_name result);
/* This host's extension: a new set of the live entities of `type` (null: any), in order of
 * creation, whose extension dictionary files under `entry` an XRECORD whose first group 1 is
 * the text `kind`; with
 * `field` not null, only those whose record holds field's whole number (restype a 16- or
 * 32-bit group code, the value in rint or rlong) as its `occurrence`-th group of that code
 * (0: the first). Kept indexed by the host, so the cost grows with the entities found, not
 * with the drawing. RTNORM, or RTERROR and `result` {0,0} when none is found. */
int sds_ssgetrecordkind(const char* type, const char* entry, const char* kind,
                        const struct resbuf* field, int occurrence, sds_name result);
/* This host's extension: the distinct whole numbers that the records named as above hold as
 * their `occurrence`-th group of `code`, ascending, as a new list of nodes of restype `code`
 * (release it with sds_relrb). RTNORM with `*values` null when there are none; RTERROR for
 * a code that is not a 16- or 32-bit one. */
int sds_recordfieldvalues(const char* type, const char* entry, const char* kind, int code,
                          int occurrence, struct resbuf** values);
/* This host's extension: how many entities sds_ssgetrecordkind would put in its set, counted
 * from the host's index without making the set. RTNORM (with 0 when there is none), RTERROR
 * when `field` is not a whole number. */
int sds_recordkindcount(const char* type, const char* entry, const char* kind,
                        const struct resbuf* field, int occurrence, long* count);
/* This host's extension: of the whole numbers from 1 up that the records named as for
 * sds_recordfieldvalues hold in the field, how many distinct ones (`used`), and the least whole
 * number from 1 up that none holds (`firstFree`: used + 1 when 1 .. used are all held, lower
 * when the numbers leave a gap). Answered from the host's index, whatever the number of
 * entities. RTNORM, or RTERROR for a code that is not a 16- or 32-bit one. */
int sds_recordfieldnumbering(const char* type, const char* entry, const char* kind, int code,
                             int occurrence, long* used, long* firstFree);
/* This host's extension: a new set of the live groups (GROUP objects) that list `entity`, live
 * or erased, among their members (group 340), in order of creation: the group an entity
 * belongs to without reading every group of the drawing (the host keeps them indexed).
 * RTNORM, or RTERROR and `result` {0,0} when no group lists it (or there is no such entity). */
int sds_ssgetgroups(const sds_name entity, sds_name result);
int sds_sslength(const sds_name set, long* length);
int sds_ssname(const sds_name set, long index, sds_name entity);
int sds_ssadd(const sds_name entity /* null: a new empty set */, const sds_name set,
              sds_name result);
int sds_ssdel(const sds_name entity, const sds_name set);
int sds_ssmemb(const sds_name entity, const sds_name set);
int sds_ssfree(sds_name set);
int sds_ssgetfirst(struct resbuf** gripSet, struct resbuf** pickSet);
int sds_sssetfirst(const sds_name gripSet, const sds_name pickSet);
int sds_nentselp(const char* prompt, sds_name entity, sds_point point, int pickFlag,
                 sds_matrix xform, struct resbuf** refStack);
int sds_entsel(const char* prompt, sds_name entity, sds_point point);
/* This host's extension: a new set of the live entities whose geometry lies within the pick
 * aperture of `point` (a point inside a solid fill lies on it), nearest first, ties the entity
 * made last first: what a pick at that point found, so that a prompt can take the nearest
 * object it accepts. RTNORM, or RTERROR and `result` {0,0} when none lies there. */
int sds_ssgetnear(const sds_point point, sds_name result);

/* ---- User input and output ---- */
int sds_initget(int flags, const char* keywords);
int sds_getpoint(const sds_point base /* may be null */, const char* prompt, sds_point result);
int sds_getreal(const char* prompt, sds_real* result);
int sds_getint(const char* prompt, int* result);
int sds_getkword(const char* prompt, char* result /* at least 512 bytes */);
int sds_getstring(int allowSpaces, const char* prompt, char* result /* at least 512 bytes */);
int sds_getinput(char* result /* at least 512 bytes */);
int sds_draggen(const sds_name set, const char* prompt, int cursor,
                int (*callback)(sds_point point, sds_matrix matrix), sds_point result);
int sds_osnap(const sds_point point, const char* mode, sds_point result);
sds_real sds_angle(const sds_point from, const sds_point to);
sds_real sds_distance(const sds_point from, const sds_point to);
int sds_printf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
int sds_alert(const char* message);
sds_hwnd sds_getmainhwnd(void);

/* ---- System variables and host commands ---- */
/* Besides the settable ones, DWGNAME (read only) gives the drawing's file name without its
 * folder as RTSTR, "" for a drawing never saved; the caller releases the text with free(). */
int sds_getvar(const char* name, struct resbuf* result);
int sds_setvar(const char* name, const struct resbuf* value);
int sds_command(int restype, ...); /* type/value pairs ended by RTNONE or 0 */

#ifdef __cplusplus
}
#endif

#endif /* ARMAVO_HOST_SDS_H */
