#!/usr/bin/env python3
# judge.py OUT.txt VERDICTS.txt JUDGED.txt : merges replies with verdicts and prints counts
import sys,re,collections
out,ver,dst=sys.argv[1:4]
v={}
for l in open(ver,encoding='utf-8'):
    l=l.rstrip('\n')
    if l.strip(): k,_,rest=l.partition(' '); v[k]=rest
recs=[];cur=None
for l in open(out,encoding='utf-8'):
    m=re.match(r'\[(\S+?):(\d+)\] > (.*)',l)
    if m: cur={'set':m[1],'i':m[2],'s':m[3]}; recs.append(cur); continue
    if cur and l.startswith('    < '): cur['r']=l[6:].rstrip('\n')
    if cur and l.startswith('    # '): cur['u']='understood=1' in l
stats=collections.defaultdict(collections.Counter)
with open(dst,'w',encoding='utf-8') as f:
    for r in recs:
        key=f"{r['set']}:{r['i']}"; vd=v.get(key,'UNJUDGED')
        f.write(f"{key}\n  > {r['s']}\n  < {r.get('r','')}\n  understood={int(r.get('u',0))}  verdict: {vd}\n")
        grp=r['set'].split('/')[0]; word=vd.split()[0]
        stats[grp][word]+=1; stats[grp]['understood']+=r.get('u',0); stats[grp]['total']+=1
for g,c in stats.items(): print(g,dict(c))
